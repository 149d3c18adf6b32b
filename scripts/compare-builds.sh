#!/bin/sh
# Runs two junctra programs on the same random database pairs and compares
# exit codes, standard error and every written byte.
#   scripts/compare-builds.sh OLD NEW [--seed N] [--count N] [--keep DIR]
# SEED, COUNT and KEEP may be given in the environment instead.
exec python3 "$(dirname "$0")/compare_builds.py" "$@"
