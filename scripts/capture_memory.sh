#!/usr/bin/env bash
# The tool's resident memory under Wine while one thing is repeated with the preview running, to
# tell the memory a capture keeps from the memory other traffic or time keeps:
#   clicks    N counted captures from the "Capture Image" button (driver.exe click)
#   messages  N requests from another process that capture nothing (driver.exe text of the button)
#   idle      the preview alone for the time of N/50 samples, SECONDS_PER_SAMPLE apart
# Prints "N RSS_KB SECONDS UNIX_HEAP_KB ANON_KB FILES_KB" (tool_memory_split) every 50 and the
# slope after the first 100, per repetition and per minute. FRAMEWRIGHT_RESOURCE_COUNTS=1 adds the tool's own counts at its end.
#
#   bash scripts/capture_memory.sh clicks 300
#   bash scripts/capture_memory.sh idle 300 40
set -u
mode=${1:?usage: capture_memory.sh clicks|messages|idle N [SECONDS_PER_SAMPLE]}
count=${2:-300}
per_sample=${3:-60}
. "$(dirname "$0")/lib/capture_lib.sh"
export E2E_TOOL_LIMIT=$((600 + count * 10))
e2e_begin memory one.cfg
write_settings "ImageSavePath=$(windows_path "$E2E_WORK/Mem.bmp")" IncrementImageName=1
e2e_start_tool
d wait-window "$TITLE" 30000 >/dev/null || { echo "FAIL: no window"; exit 1; }
# The buttons are enabled once start-up has applied the record to the camera.
wait_until 60 log_has 'cameracontrol set id=6 ' || { echo "FAIL: start-up did not end"; exit 1; }
d click "$TITLE" 2000 >/dev/null # the preview runs from here on
wait_until 30 eval '[ "$(d text "$TITLE" 2000)" == Stop ]' || { echo "FAIL: no preview"; exit 1; }
samples=$E2E_TMP/samples.txt
started=$SECONDS
echo "0 $(tool_rss_kb) 0 $(tool_memory_split)" | tee "$samples"
for n in $(seq 1 "$count"); do
    case "$mode" in
    clicks)
        d click "$TITLE" 2065 >/dev/null
        name=$(printf 'Mem%06d.bmp' "$n")
        wait_until 30 test -f "$E2E_WORK/$name" || { echo "FAIL: no $name"; exit 1; }
        rm -f "$E2E_WORK/$name"
        ;;
    messages) d text "$TITLE" 2065 >/dev/null ;;
    idle) [ $((n % 50)) -eq 0 ] && sleep "$per_sample" ;;
    esac
    [ $((n % 50)) -eq 0 ] && echo "$n $(tool_rss_kb) $((SECONDS - started)) $(tool_memory_split)" | tee -a "$samples"
done
awk -v mode="$mode" '$1 >= 100 { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2
        tx += $3; txx += $3 * $3; txy += $3 * $2 }
    END { d = n * sxx - sx * sx; e = n * txx - tx * tx
        printf "%s: slope after 100: %.3f KB per repetition, %.1f KB per minute\n", mode,
            d ? (n * sxy - sx * sy) / d : 0, e ? 60 * (n * txy - tx * sy) / e : 0 }' "$samples"
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
grep -a 'resource counts' "$E2E_TMP/tool.err"
