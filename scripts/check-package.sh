#!/usr/bin/env bash
# Runs the validators on the Debian package that `make package` left in BUILD_FOLDER (default
# build-package): desktop-file-validate and appstreamcli on the files as installed, then
# lintian on the package. Fails on an error; warnings and notes are printed and left to read.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build-package}
deb=$(ls "$folder"/vornelle_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

echo "== desktop-file-validate"
desktop-file-validate "$root"/usr/share/applications/*.desktop
echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
echo "== lintian $deb"
# lintian warns when run as root (containers); its checks do not depend on it.
lintian --fail-on error --pedantic --display-info "$deb"
