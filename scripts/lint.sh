#!/usr/bin/env bash
# Lints the project's own C and C++ sources: clang-tidy with .clang-tidy over
# the compile commands of a built folder (its generated headers must exist),
# and clang-format with .clang-format, changing nothing. Fails on any
# finding. Packages: scripts/deps.sh lint.
#
#   scripts/lint.sh [BUILD_DIR]     (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
[ -f "$build/compile_commands.json" ] ||
  { echo "lint.sh: $build has no compile_commands.json; configure and build it first" >&2; exit 2; }

# The sources of the layers, tests and benchmarks; not the files the build
# generates, nor GoogleTest's.
root=$(pwd -P | sed 's/[][\.*^$+?(){}|]/\\&/g')
status=0
echo "clang-tidy"
run-clang-tidy -quiet -j 2 -p "$build" "^$root/(app|bench|database|merge|platform|resources|tests|ui)/" \
  >"$build/clang-tidy.log" 2>&1 || status=1
# run-clang-tidy prints every command, and in colour; the findings, once
# each, are what matters.
sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E ': (warning|error):' | sort -u || true

echo "clang-format"
git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || status=1

[ "$status" -eq 0 ] && echo "lint: clean"
exit "$status"
