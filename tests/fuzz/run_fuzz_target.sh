#!/usr/bin/env bash
# Runs one fuzz target for a fixed number of inputs with a fixed seed, after every input of its seed
# corpus (when the folder exists). New inputs go to a scratch folder that is removed afterwards, so
# the seed corpus in the source tree stays as it is. A failing oracle or sanitizer ends the run
# with a non-zero status and leaves the input that did it as crash-*/leak-*/timeout-* in the
# current folder.
# Usage: run_fuzz_target.sh TARGET RUNS [SEED_DIR] [more libFuzzer options]
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET RUNS [SEED_DIR] [libFuzzer options]" >&2
    exit 2
fi
target=$1
runs=$2
seeds=${3:-}
shift $(($# < 3 ? $# : 3))
scratch=$(mktemp -d "${TMPDIR:-/tmp}/fuzz-corpus.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
dirs=("$scratch")
if [ -n "$seeds" ] && [ -d "$seeds" ]; then
    dirs+=("$seeds")
fi
"$target" -seed=1 -runs="$runs" -timeout=30 -print_final_stats=1 "$@" "${dirs[@]}"
