#!/usr/bin/env bash
# Runs each fuzz harness for a bounded time, starting from its seed corpus
# in tests/fuzz/corpus, and fails on any finding (a crash, a sanitizer
# report, a failed check, a timeout or running out of memory).
#
#   scripts/fuzz.sh [HARNESS...]
#
# FUZZ_SECONDS (default 60) is the time per harness, FUZZ_BUILD_DIR (default
# build/fuzz, the fuzz preset's) holds the harnesses. A finding's input is
# kept in $FUZZ_BUILD_DIR/findings/HARNESS/; replay it with
# "$FUZZ_BUILD_DIR/tests/fuzz/HARNESS FILE".
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD_DIR:-build/fuzz}
harnesses=("$@")
if [ "${#harnesses[@]}" -eq 0 ]; then
  harnesses=(text_file_fuzzer tag_list_fuzzer class_list_fuzzer profile_fuzzer merge_fuzzer)
fi

failed=()
for harness in "${harnesses[@]}"; do
  binary="$build/tests/fuzz/$harness"
  [ -x "$binary" ] || { echo "missing $binary (build the fuzz preset first)" >&2; exit 2; }
  findings="$build/findings/$harness"
  mkdir -p "$findings"
  # New inputs go to a scratch corpus; the checked-in seeds stay as they are.
  work=$(mktemp -d "${TMPDIR:-/tmp}/junctra-fuzz-$harness-XXXXXX")
  log="$build/findings/$harness.log"
  status=0
  "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=20000 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "tests/fuzz/corpus/$harness" \
    >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  corpus=$(find "$work" -type f | wc -l)
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "$harness: FINDING after ${runs:-?} executions (exit $status); see $log" >&2
    grep -E "ERROR|check failed|SUMMARY|Test unit written" "$log" | head -5 >&2 || true
    failed+=("$harness")
  else
    echo "$harness: ${runs:-?} executions in ${seconds} s, no finding ($corpus new inputs)"
  fi
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#harnesses[@]} passed, 0 failed"
