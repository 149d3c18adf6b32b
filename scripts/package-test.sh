#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, checks it with
# lintian (errors fail) and appstreamcli, installs it with apt-get, merges the
# examples with /usr/bin/junctra and removes the package again, also when a
# step fails. Run as root; a junctra package installed before is removed too.
#
#   scripts/package-test.sh [BUILD_DIR]     (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
[ -f "$build/CPackConfig.cmake" ] || { echo "package-test.sh: $build is not configured" >&2; exit 2; }

# One run at a time installs the package on this machine; apt-get waits for
# dpkg's lock instead of failing while another installation holds it.
exec 9>/var/lock/junctra-package-test.lock
flock -w 1200 9 || { echo "package-test.sh: another run holds the machine's lock" >&2; exit 1; }
apt=(apt-get -y -qq -o DPkg::Lock::Timeout=600)

work=$(mktemp -d "${TMPDIR:-/tmp}/junctra-package-XXXXXX")
# apt-get reads the package as the user _apt.
chmod 755 "$work"
cleanup() {
  local status=$?
  if dpkg-query -W junctra >/dev/null 2>&1; then
    "${apt[@]}" remove junctra </dev/null >/dev/null || status=1
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" ||
  { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/cpack/*.deb)
deb=${debs[0]}
expected=junctra_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb
[ "${#debs[@]}" -eq 1 ] && [ "$(basename "$deb")" = "$expected" ] ||
  { echo "package-test.sh: expected only $expected, got: ${debs[*]##*/}" >&2; exit 1; }
echo "Built $expected"

lintian --fail-on error "$deb"
# The metadata and the desktop entry its launchable names, as installed.
dpkg-deb -x "$deb" "$work/tree"
appstreamcli validate-tree --no-net "$work/tree"

DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "$deb" </dev/null >/dev/null
echo "Installed $(dpkg-query -W -f='${Package} ${Version}' junctra)"

# No settings file of the machine's users chooses the language.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LC_ALL=C
mkdir -p "$HOME" "$work/merged" "$work/conflict"
/usr/bin/junctra examples/plant-a examples/plant-b "$work/merged"
[ "$(ls "$work/merged")" = "$(printf 'class.lst\ntagl.txt')" ] ||
  { echo "package-test.sh: the merge wrote: $(ls "$work/merged")" >&2; exit 1; }
echo "Merged examples/plant-a and examples/plant-b with /usr/bin/junctra"

status=0
/usr/bin/junctra examples/plant-a examples/plant-c "$work/conflict" 2>"$work/english" || status=$?
[ "$status" -eq 1 ] && [ -z "$(ls "$work/conflict")" ] ||
  { echo "package-test.sh: the conflict example gave exit code $status" >&2; exit 1; }
# The same conflicts in German come from the installed satellite.
status=0
LC_ALL=de_DE.UTF-8 /usr/bin/junctra examples/plant-a examples/plant-c "$work/conflict" \
  2>"$work/german" || status=$?
[ "$status" -eq 1 ] && ! cmp -s "$work/english" "$work/german" ||
  { echo "package-test.sh: no German texts (exit code $status)" >&2; exit 1; }
echo "The conflict example fails with exit code 1, in English and German"

"${apt[@]}" remove junctra </dev/null >/dev/null
[ ! -e /usr/bin/junctra ] && [ ! -e /usr/lib/junctra ] ||
  { echo "package-test.sh: files are left after apt-get remove" >&2; exit 1; }
echo "Removed junctra"
