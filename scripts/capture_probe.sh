#!/usr/bin/env bash
# The memory a still capture's framework and system calls keep under Wine, without the tool:
# capture_probe.exe runs the virtual camera's graph and repeats MODE (idle, buffer, type or full,
# see tools/capture_probe.cpp) COUNT times, INTERVAL_MS apart, printing its resident memory
# every 50 rounds (every 5 for rebuild). Prints the samples and the slope after the first 100
# rounds (5 for rebuild), in KB per round.
#
#   bash scripts/capture_probe.sh full 1000 300
#   bash scripts/capture_probe.sh rebuild 30 300   # the graph released and built anew each round
set -u
mode=${1:?usage: capture_probe.sh idle|buffer|type|full|rebuild COUNT INTERVAL_MS}
count=${2:-1000}
interval=${3:-300}
. "$(dirname "$0")/lib/e2e_lib.sh"
probe=$WINDOWS_BUILD/capture_probe.exe
e2e_require "$probe"
e2e_begin probe one.cfg
started=$SECONDS
(cd "$E2E_WORK" && ws_run "$E2E_PREFIX" $((300 + count * (interval + 2000) / 1000)) "$probe" \
    "$mode" "$count" "$interval" "$(printf 'Z:%s' "$(printf '%s' "$E2E_WORK" | tr / '\\')")") |
    tr -d '\r' >"$E2E_TMP/samples.txt"
seconds=$((SECONDS - started))
echo "rounds  rss_kb"
awk '$1 ~ /^[0-9]+$/ {printf "%6d  %6d\n", $1, $2}' "$E2E_TMP/samples.txt"
settle=100
[ "$mode" = rebuild ] && settle=5
awk -v mode="$mode" -v interval="$interval" -v seconds="$seconds" -v settle="$settle" '$1 ~ /^[0-9]+$/ && $1 >= settle {
        n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2 }
    /^done$/ { done = 1 }
    END {
        d = n * sxx - sx * sx
        printf "mode %s, interval %d ms, %s in %d s: slope after %d rounds %.3f KB per round\n",
            mode, interval, done ? "completed" : "NOT completed", seconds, settle,
            (n > 1 && d) ? (n * sxy - sx * sy) / d : 0 }' "$E2E_TMP/samples.txt"
grep -q '^done$' "$E2E_TMP/samples.txt"
