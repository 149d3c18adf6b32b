#!/usr/bin/env bash
# Cross builds Junctra for Windows with mingw-w64 (the windows preset, in
# build/windows) and runs its tests under Wine, in a fresh Wine prefix that
# is removed afterwards. Not part of scripts/test.sh yet.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh windows
WINEPREFIX=$(mktemp -d /tmp/wineprefix-junctra.XXXXXX)
export WINEPREFIX WINEDEBUG=-all
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
echo "== Wine prefix $WINEPREFIX"
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
# The dialog tests open real windows: Wine's null graphics driver gives them
# a screen without an X server. Read when Wine starts anew.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
echo "== windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
