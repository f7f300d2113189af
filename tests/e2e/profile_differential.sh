#!/bin/sh
# Runs every profile case file through the probe under Wine and through the simulated desktop's
# runner, and fails when their outputs differ in any byte.
# Usage: profile_differential.sh PROBE_EXE RUNNER CASES_DIR
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 PROBE_EXE RUNNER CASES_DIR" >&2
    exit 2
fi
probe=$(realpath "$1" 2>/dev/null || echo "$1")
runner=$(realpath "$2")
cases=$(realpath "$3")

if [ ! -f "$probe" ]; then
    echo "probe $probe not built (cmake --preset windows && cmake --build build/windows)" >&2
    exit 77
fi

work=$(mktemp -d /tmp/profile_differential.XXXXXX)
export WINEPREFIX="$work/prefix"
export WINEDLLOVERRIDES="winedbg.exe=d"
export WINEDEBUG=-all
cleanup() {
    timeout 30 wineserver -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

if ! timeout 120 wineboot -i >"$work/wineboot.log" 2>&1; then
    echo "wineboot failed:" >&2
    cat "$work/wineboot.log" >&2
    exit 1
fi

failed=0
count=0
for case_file in "$cases"/*.txt; do
    name=$(basename "$case_file" .txt)
    count=$((count + 1))
    mkdir -p "$work/wine_$name" "$work/sim"
    (cd "$work/wine_$name" && timeout 60 wine "$probe" "Z:$case_file") >"$work/wine_$name.raw" \
        2>"$work/wine_$name.err"
    probe_status=$?
    tr -d '\r' <"$work/wine_$name.raw" >"$work/wine_$name.out"
    "$runner" "$case_file" >"$work/sim/$name.out" 2>&1
    runner_status=$?
    if [ $probe_status -ne 0 ] || [ $runner_status -ne 0 ]; then
        echo "FAIL $name: probe exited $probe_status, runner exited $runner_status" >&2
        cat "$work/wine_$name.err" >&2
        failed=1
    elif ! diff -u --label "wine/$name" --label "sim/$name" "$work/wine_$name.out" \
        "$work/sim/$name.out"; then
        echo "FAIL $name: the simulated profile functions differ from Wine's" >&2
        failed=1
    else
        echo "same $name"
    fi
done

if [ $count -eq 0 ]; then
    echo "no case files in $cases" >&2
    exit 1
fi
exit $failed
