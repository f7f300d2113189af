#!/usr/bin/env bash
# One still from one virtual camera as a whole process, two ways, in one run under Wine:
#   window  Framewright.exe unattended (StartWithPreview, CaptureOnStart, ExitOnCapture, no review
#           time): window, panel, preview graph with its renderer, capture, exit;
#   cli     FramewrightCli.exe capture: camera, sample grabber and null renderer, no window.
# Each is started ROUNDS times, alternating, from the same settings file (the default stream
# format, 1920 x 1080); every round must write a bitmap of the camera's test pattern. Prints each
# round, the median wall time of each, and the window program's median over the command line's.
#
#   bash scripts/cli_capture_bench.sh [ROUNDS]      (default 10)
set -u
rounds=${1:-10}
. "$(dirname "$0")/lib/cli_lib.sh"
e2e_require "$E2E_CLI"
e2e_begin cli_bench one.cfg

window_shot=$E2E_WORK/window.bmp
cli_shot=$E2E_WORK/cli.bmp
write_settings "ImageSavePath=$(windows_path "$window_shot")" StartWithPreview=1 CaptureOnStart=1 \
    ExitOnCapture=1 ReviewTimeMs=0

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# run_window: the window program started as the command line is, straight through wine, so that
# both pay the same process start; it is done when it has exited.
run_window() {
    rm -f "$window_shot"
    (cd "$E2E_WORK" && ws_run "$E2E_PREFIX" 120 "$E2E_EXE" >/dev/null 2>&1)
}
run_cli() {
    rm -f "$cli_shot"
    cli capture --out cli.bmp
}

# check_shot WHAT FILE: the round wrote a frame of the pattern, else the benchmark stops.
check_shot() {
    if ! python3 "$CHECK_BITMAP" "$2" 1920 1080 128 >/dev/null 2>&1; then
        echo "FAIL: $1 wrote no frame of the test pattern ($2)${CLI_ERR:+: $CLI_ERR}"
        exit 1
    fi
}

# One of each first: the prefix's first process pays for loading Wine's libraries.
run_window
check_shot "warm-up window program" "$window_shot"
run_cli
check_shot "warm-up FramewrightCli" "$cli_shot"

: >"$E2E_TMP/window.ms"
: >"$E2E_TMP/cli.ms"
echo "round  window_ms  cli_ms"
for ((round = 1; round <= rounds; round++)); do
    start=$(now_ms)
    run_window
    window_ms=$(($(now_ms) - start))
    check_shot "window program, round $round" "$window_shot"
    start=$(now_ms)
    run_cli
    cli_ms=$(($(now_ms) - start))
    check_shot "FramewrightCli, round $round" "$cli_shot"
    echo "$window_ms" >>"$E2E_TMP/window.ms"
    echo "$cli_ms" >>"$E2E_TMP/cli.ms"
    printf '%5d  %9d  %6d\n' "$round" "$window_ms" "$cli_ms"
done

median() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
window_median=$(median "$E2E_TMP/window.ms")
cli_median=$(median "$E2E_TMP/cli.ms")
echo "median window program (unattended run): $window_median ms"
echo "median FramewrightCli capture:          $cli_median ms"
awk -v w="$window_median" -v c="$cli_median" \
    'BEGIN {printf "window program / FramewrightCli: %.2f\n", w / c}'
