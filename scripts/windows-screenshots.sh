#!/usr/bin/env bash
# Takes the Windows screenshots in docs/ (windows-*.png) from the real Win32
# dialogs, run under Wine in a virtual desktop on Xvfb: the main dialog
# after a three-way Merge, the error list after one with conflicts and the
# About box, in English and in German. Builds nothing; give it a windows
# build folder (default build/windows) in which win32_screenshot_helper and
# the German satellite are built.
#
#   scripts/windows-screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
helper=$build/tests/ui/win32_screenshot_helper.exe
satellite=$build/program/de/junctra-EXE-mui.dll
for file in "$helper" "$satellite"; do
  [[ -f $file ]] || { echo "windows-screenshots.sh: $file is not built" >&2; exit 1; }
done
bash "$root/scripts/deps.sh" windows-screenshots

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
wine=/usr/lib/wine/wine64
xvfb=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
number=90
while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
export DISPLAY=:$number
Xvfb "$DISPLAY" -screen 0 640x480x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "windows-screenshots.sh: Xvfb did not start" >&2; exit 1; }

# A fresh prefix whose programs share one virtual desktop the size of the
# screen, so that Wine draws the window frames itself, as Windows does.
"$wine" wineboot --init >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 640x480 /f >/dev/null 2>&1
# Wine's own fonts for the captions (Tahoma) and the frame buttons
# (Marlett), which it looks for in the prefix.
cp /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
/usr/lib/wine/wineserver -w

# shoot SUFFIX [SATELLITE]: runs the helper and grabs each dialog it shows.
# Its databases go into a short folder, so that the fields show whole paths.
shoot() {
  local suffix=$1
  shift
  local name geometry pid
  coproc helper_run {
    "$wine" "$helper" 'C:\Plants' "$@" 2>&1
  }
  pid=$helper_run_PID
  while read -r -u "${helper_run[0]}" name geometry; do
    geometry=${geometry%$'\r'}
    [[ $geometry =~ ^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$ ]] || { echo "helper: $name $geometry" >&2; continue; }
    import -window root -crop "$geometry" +repage "$root/docs/windows-$name$suffix.png"
    echo "docs/windows-$name$suffix.png ($geometry)"
    echo >&"${helper_run[1]}"
  done
  wait "$pid"
}

shoot ""
shoot -de "$("$wine" winepath -w "$satellite" 2>/dev/null)"
