#!/usr/bin/env bash
# Builds Junctra and runs every test: once in an optimised build, which
# scripts/lint.sh checks too, once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, and those of the code below the dialogs,
# which runs threads, under ThreadSanitizer; then builds the Debian package from the
# optimised build, installs, runs and removes it;
# then the Windows part under Wine (scripts/windows-test.sh: the tests, the
# installer, the installed program against the Linux one); then runs every
# fuzz harness for a minute (FUZZ_SECONDS) and fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test fuzz lint windows
export QT_QPA_PLATFORM=offscreen
for preset in default asan tsan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  if [ "$preset" = default ]; then
    echo "== lint"
    bash scripts/lint.sh build/default
  fi
  ctest --preset "$preset"
done
echo "== Debian package"
bash scripts/package-test.sh build/default
echo "== Windows, under Wine"
bash scripts/windows-test.sh build/default/program/junctra
echo "== fuzz build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
FUZZ_BUILD_DIR=build/fuzz bash scripts/fuzz.sh
