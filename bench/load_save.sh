#!/usr/bin/env bash
# Builds the optimised tree and runs the load and save timing harness.
#   bash bench/load_save.sh [TAGS]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target load_save_bench
build/default/bench/load_save_bench "$@"
