#!/usr/bin/env bash
# Builds Junctra and merges the two example databases into a fresh folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
out=$(mktemp -d /tmp/junctra-merged-XXXXXX)
if build/default/program/junctra examples/plant-a examples/plant-b "$out"; then
  echo "Merged examples/plant-a and examples/plant-b into $out:"
  ls -l "$out"
else
  echo "The merge failed (exit code $?)." >&2
  exit 1
fi
