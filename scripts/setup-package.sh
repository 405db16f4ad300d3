#!/usr/bin/env bash
# Installs the Debian tools that check the package made by `make package` (`make package-check`):
# desktop-file-validate, appstreamcli and lintian. Building the package itself needs only what
# scripts/setup.sh installs (dpkg-shlibdeps comes with build-essential's dpkg-dev).
set -euo pipefail

packages=(desktop-file-utils appstream lintian)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installation des paquets manquants : ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
else
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
