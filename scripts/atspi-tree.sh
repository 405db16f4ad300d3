#!/usr/bin/env bash
# Starts Vornelle on a virtual display with its own session and accessibility buses, then
# prints its accessible tree with scripts/atspi-tree.py (arguments are passed on: captions to
# press, "=dump" to print). Needs xvfb, at-spi2-core and python3-pyatspi; uses an empty data
# folder and the simulated machine, so nothing of the user's setup is read or written.
#   scripts/atspi-tree.sh                       # the main window
#   scripts/atspi-tree.sh Configurer =dump      # the configuration page
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="${VORNELLE_BIN:-$here/../build/src/app/vornelle}"
# Debian's own Python, where python3-pyatspi is installed (not a python3 found earlier on PATH).
python="${PYTHON:-/usr/bin/python3}"
"$python" -c "import pyatspi" 2>/dev/null || {
    echo "python3-pyatspi manque : apt-get install python3-pyatspi" >&2
    exit 1
}
[ -x "$program" ] || { echo "$program introuvable : make build" >&2; exit 1; }
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export VORNELLE_HOME="$home" VORNELLE_PORT=simule QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb
# The program runs for the time of the look only and is ended by its own process id.
xvfb-run -a dbus-run-session -- bash -c '
    "$0" & app=$!
    trap "kill $app 2>/dev/null; wait $app 2>/dev/null" EXIT
    "$1" "$2" "${@:3}"
' "$program" "$python" "$here/atspi-tree.py" "$@"
