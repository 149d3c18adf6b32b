#!/usr/bin/env bash
# Times the batch merge of two generated databases with the Linux program and
# with junctra.com under Wine, in the same run: the two take turns, REPS
# times each (default 5), and the medians are printed, with the time of a
# run that stops at once (no tagl.txt) for each program's start-up cost.
# Builds what is missing: junctra and merge_bench of the default preset,
# junctra.com of the windows preset.
#
#   bash bench/wine_vs_linux.sh [TAGS]      (default 100000 per database)
#
# JUNCTRA_BENCH_DIR is the folder to work in (default /dev/shm).
set -euo pipefail
cd "$(dirname "$0")/.."
tags=${1:-100000}
reps=${REPS:-5}
bash scripts/deps.sh test windows >&2
{
  cmake --preset default
  cmake --build --preset default --target junctra merge_bench
  cmake --preset windows
  cmake --build --preset windows --target junctra_console
} >/dev/null
linux=$PWD/build/default/program/junctra
windows=$PWD/build/windows/program/junctra.com

base=${JUNCTRA_BENCH_DIR:-/dev/shm}
[ -d "$base" ] || base=/tmp
work=$(mktemp -d "$base/junctra-wine-bench-XXXXXX")
WINEPREFIX=$(mktemp -d /tmp/junctra-wine-bench-prefix-XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$work" "$WINEPREFIX"
}
trap cleanup EXIT
# One wineserver for all runs, as the system is always there on Windows.
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1

# merge_bench times the Linux program against cat; its last run leaves
# databases that conflict, so the ones to merge are generated anew.
echo "== merge_bench on Linux"
JUNCTRA_BENCH_DIR=$work build/default/bench/merge_bench "$linux" "$tags"
data=$work/junctra-merge-bench
build/default/bench/merge_bench --generate "$data" "$tags"
mkdir -p "$data/out-windows" "$data/empty"
cd "$data"

# now_ns: the wall clock in nanoseconds.
now_ns() { date +%s%N; }
# median: the median of the numbers on standard input, in seconds.
median() {
  sort -n | awk '{t[NR] = $1} END {
    m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f", m / 1e9 }'
}
# time_pair EXPECTED_STATUS LINUX_ARGS WINDOWS_ARGS: REPS turns of each;
# sets linux_s and wine_s to the medians.
time_pair() {
  local expected=$1 linux_args=$2 windows_args=$3 linux_times=() wine_times=()
  for ((i = 0; i < reps; i++)); do
    local start status=0
    start=$(now_ns)
    # shellcheck disable=SC2086
    "$linux" $linux_args 2>/dev/null || status=$?
    linux_times+=($(($(now_ns) - start)))
    [ "$status" = "$expected" ] || { echo "Linux: exit code $status" >&2; exit 1; }
    status=0
    start=$(now_ns)
    # shellcheck disable=SC2086
    /usr/lib/wine/wine64 "$windows" $windows_args 2>/dev/null || status=$?
    wine_times+=($(($(now_ns) - start)))
    [ "$status" = "$expected" ] || { echo "Wine: exit code $status" >&2; exit 1; }
  done
  linux_s=$(printf '%s\n' "${linux_times[@]}" | median)
  wine_s=$(printf '%s\n' "${wine_times[@]}" | median)
}

echo "== $reps runs each, taking turns"
time_pair 0 "first second out" "first second out-windows"
merge_linux=$linux_s merge_wine=$wine_s
for file in class.lst tagl.txt; do
  cmp "out/$file" "out-windows/$file" || { echo "the outputs differ" >&2; exit 1; }
done
time_pair 1 "empty empty" "empty empty"
start_linux=$linux_s start_wine=$wine_s

awk -v tags="$tags" -v ml="$merge_linux" -v mw="$merge_wine" -v sl="$start_linux" \
  -v sw="$start_wine" 'BEGIN {
  printf "%-32s %8s %8s %11s\n", "median wall time, seconds", "Linux", "Wine", "Wine/Linux"
  printf "%-32s %8.3f %8.3f %10.1fx\n", "batch merge, 2 x " tags " tags", ml, mw, mw / ml
  printf "%-32s %8.3f %8.3f\n", "start-up only (no tagl.txt)", sl, sw
  printf "%-32s %8.3f %8.3f %10.1fx\n", "merge less start-up", ml - sl, mw - sw, (mw - sw) / (ml - sl)
}'
echo "(in $base; both outputs are the same bytes)"
