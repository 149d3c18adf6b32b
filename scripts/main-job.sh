#!/usr/bin/env bash
# Builds the program and its German satellite (no tests) and merges the two
# example databases into a fresh folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake --preset program >/dev/null
cmake --build --preset program --target junctra junctra_de
out=$(mktemp -d "${TMPDIR:-/tmp}/junctra-merged-XXXXXX")
status=0
build/program/program/junctra examples/plant-a examples/plant-b "$out" || status=$?
if [ "$status" -eq 0 ]; then
  echo "Merged examples/plant-a and examples/plant-b into $out:"
  ls -l "$out"
else
  echo "The merge failed (exit code $status)." >&2
  exit 1
fi
