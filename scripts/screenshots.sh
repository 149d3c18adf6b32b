#!/usr/bin/env bash
# Takes the screenshots in docs/ from real windows under Xvfb with openbox
# as window manager: the main dialog after Select, the error list after a
# Merge with conflicts, the About box, the folder chooser and the window
# menu, in English and, when the satellite is built, in German; and the
# folder chooser at a scale factor of 2 on the 1280x800 screen. Builds
# nothing; give it a build folder in which ui_screenshot_helper is built.
#
#   scripts/screenshots.sh build/default
set -euo pipefail

build=$(cd "${1:?usage: scripts/screenshots.sh BUILD_DIR}" && pwd)
docs=$(cd "$(dirname "$0")/.." && pwd)/docs
helper=$build/tests/ui/ui_screenshot_helper
satellite=$build/program/de/junctra-mui.so
[[ -x $helper ]] || { echo "screenshots.sh: $helper is not built" >&2; exit 1; }
for tool in Xvfb import xdpyinfo openbox; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
number=90
while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
export DISPLAY=:$number
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x800x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "screenshots.sh: Xvfb did not start" >&2; exit 1; }
# openbox keeps its state in the home folder; give it one of its own.
HOME=$work openbox >"$work/wm.log" 2>&1 &
pids+=($!)
sleep 0.5

# shot NAME WHICH [SATELLITE]: shows the dialog and grabs its frame.
shot() {
  local name=$1
  shift
  local out=$work/$name.geometry
  "$helper" "$@" >"$out" &
  local pid=$!
  for _ in $(seq 100); do [[ -s $out ]] && break; sleep 0.1; done
  local geometry
  geometry=$(head -n 1 "$out")
  [[ -n $geometry ]] || { echo "screenshots.sh: no window for $name" >&2; exit 1; }
  import -window root -crop "$geometry" +repage "$docs/$name.png"
  wait "$pid"
  echo "docs/$name.png ($geometry)"
}

shot main-dialog main
shot error-list errors
shot about-box about
shot folder-chooser chooser
shot window-menu menu
QT_SCALE_FACTOR=2 shot folder-chooser-scaled chooser
if [[ -f $satellite ]]; then
  shot main-dialog-de main "$satellite"
  shot error-list-de errors "$satellite"
  shot about-box-de about "$satellite"
  shot folder-chooser-de chooser "$satellite"
  shot window-menu-de menu "$satellite"
  QT_SCALE_FACTOR=2 shot folder-chooser-scaled-de chooser "$satellite"
fi
