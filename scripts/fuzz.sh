#!/usr/bin/env bash
# Long fuzz runs: builds the sanitize preset and runs every fuzz target (or the ones named) for the
# given number of inputs, or for the given time with an "s" suffix, then prints per target the
# inputs run, the inputs per second and where any failing input was left.
# Usage: scripts/fuzz.sh [RUNS | SECONDSs] [NAME...] [-- libFuzzer options]
#   scripts/fuzz.sh 1000000 profile        one million inputs of tests/fuzz/profile_fuzz.cpp
#   scripts/fuzz.sh 600s                   ten minutes of every target
# Interrupting a target (kill -INT on its process, or Ctrl-C) reports it as stopped and goes on
# with the next. Each target keeps what it learned in build/sanitize/fuzz/NAME/corpus (seeded from
# tests/fuzz/corpus/NAME); a failing input is written to build/sanitize/fuzz/NAME/ as crash-*,
# leak-*, timeout-* or oom-*, and can be replayed with build/sanitize/tests/fuzz/NAME_fuzz FILE.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."

amount=${1:-100000}
shift || true
names=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    names+=("$1")
    shift
done
[ "${1:-}" = "--" ] && shift
extra=("$@")

case "$amount" in
*s) limit=(-max_total_time="${amount%s}" -runs=-1) ;;
*[!0-9]* | "")
    echo "usage: $0 [RUNS | SECONDSs] [NAME...] [-- libFuzzer options]" >&2
    exit 2
    ;;
*) limit=(-runs="$amount") ;;
esac

cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j"$(nproc 2>/dev/null || echo 2)" >/dev/null

if [ ${#names[@]} -eq 0 ]; then
    for source in tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" _fuzz.cpp)
        names+=("$name")
    done
fi

summary=()
status=0
for name in "${names[@]}"; do
    target=build/sanitize/tests/fuzz/${name}_fuzz
    if [ ! -x "$target" ]; then
        echo "no fuzz target $target" >&2
        exit 2
    fi
    work=build/sanitize/fuzz/$name
    mkdir -p "$work/corpus"
    dirs=("$work/corpus")
    [ -d "tests/fuzz/corpus/$name" ] && dirs+=("tests/fuzz/corpus/$name")
    echo "== $name: ${limit[*]}, log in $work/log.txt"
    start=$(date +%s.%N)
    result=0
    "$target" "${limit[@]}" -timeout=30 -print_final_stats=1 -artifact_prefix="$work/" \
        "${extra[@]}" "${dirs[@]}" >"$work/log.txt" 2>&1 || result=$?
    end=$(date +%s.%N)
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log.txt" | tail -1)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
    # libFuzzer ends with 72 when it is interrupted (SIGINT): a run stopped by hand, no finding.
    if [ "$result" -eq 72 ] && grep -q 'libFuzzer: run interrupted' "$work/log.txt"; then
        summary+=("$(printf '%-12s %10s executions %8s execs/s %8s s (stopped, no finding)' \
            "$name" "${executed:-?}" "${rate:-?}" "$seconds")")
    elif [ "$result" -ne 0 ]; then
        status=1
        tail -40 "$work/log.txt"
        inputs=("$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*)
        found=
        [ ${#inputs[@]} -gt 0 ] && found=$(ls -t "${inputs[@]}" | head -1)
        summary+=("$(printf '%-12s FAILED (exit %d) after %s executions, %s execs/s, %s s; input: %s' \
            "$name" "$result" "${executed:-?}" "${rate:-?}" "$seconds" "${found:-see log}")")
    else
        summary+=("$(printf '%-12s %10s executions %8s execs/s %8s s' "$name" "${executed:-?}" \
            "${rate:-?}" "$seconds")")
    fi
done

echo
printf '%s\n' "${summary[@]}"
exit $status
