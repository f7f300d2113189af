#!/usr/bin/env bash
# A long run of the real tool on the virtual camera: counted captures from the "Capture Image"
# button and the Print key, mixed, with removals and arrivals of the camera among them. Every
# capture must give a valid bitmap with the next number; the tool's resident memory is sampled
# every 50 captures and the slope after the first 100 is printed.
#
#   soak.sh                     short run (100 captures, 3 removal/arrival cycles), as ctest runs it
#   soak.sh --long              2,000 captures, 200 cycles, and memory must stay flat within 1 MB
#   soak.sh --captures N --cycles M [--print-every K] [--flat-kb KB]
#
# FRAMEWRIGHT_RESOURCE_COUNTS=1 makes the tool print, as it ends, the task memory blocks, media
# type references and files the logic was given and gave back. SOAK_SAMPLES=FILE keeps the samples
# ("captures rss_kb seconds unix_heap anon files" lines) after the run.
#
# Memory is a figure: the short run prints it and fails only on a missing, invalid or misnumbered
# image; the flatness bound is checked by the long run (or when --flat-kb is given).
WS_OPENBOX_CONFIG=$(cd "$(dirname "$0")" && pwd)/openbox_no_keys.xml
export WS_OPENBOX_CONFIG
. "$(dirname "$0")/capture_lib.sh"

captures=100
cycles=3
print_every=3 # every third capture comes from the Print key, the others from the button
flat_kb=
sample_every=50
settle=100 # captures after which the memory is expected to stay flat
while [ $# -gt 0 ]; do
    case "$1" in
    --long) captures=2000 cycles=200 flat_kb=1024 ;;
    --captures) captures=$2; shift ;;
    --cycles) cycles=$2; shift ;;
    --print-every) print_every=$2; shift ;;
    --flat-kb) flat_kb=$2; shift ;;
    *) echo "usage: soak.sh [--long] [--captures N] [--cycles M] [--print-every K] [--flat-kb KB]" >&2
       exit 2 ;;
    esac
    shift
done

# About 1.5 s a capture and 10 s a cycle under load; the tool and the holder must outlive the run.
export E2E_TOOL_LIMIT=$((600 + captures * 3 + cycles * 20))
e2e_require "$WINDOWS_BUILD/status_hook.dll"
e2e_begin soak one.cfg

IMAGE_WIDTH=1920
IMAGE_HEIGHT=1080

# An arrival's or a removal's rescan is over when the status bar shows its last text.
cycle() {
    e2e_unplug 0 || return 1
    wait_until 20 eval '[ "$(d status "$TITLE")" == "No Parvanex Camera detected, please attach a Parvanex Webcam" ]' || return 1
    e2e_plug one.cfg || return 1
    wait_until 20 eval '[ "$(d status "$TITLE")" == "Camera 1: Parvanex Virtual Camera" ]'
}

images_dir=$E2E_WORK
write_settings "ImageSavePath=$(windows_path "$images_dir/Soak.bmp")" IncrementImageName=1 \
    ImageCounter=0 UsePrintKeyToCaptureImages=1 ReviewTimeMs=0
e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 30000 >/dev/null
check_true "start-up applied the record" wait_until 20 log_has 'cameracontrol set id=6 '
check_true "the tool's process is found ($(tool_pid))" test -n "$(tool_pid)"
check_true "the holder window appears" holder_start "$E2E_TOOL_LIMIT"

samples=$E2E_TMP/samples.txt
: >"$samples"
started=$SECONDS
echo "0 $(tool_rss_kb) 0 $(tool_memory_split)" >>"$samples"
cycle_every=$((cycles > 0 ? captures / cycles : 0))
[ "$cycle_every" -lt 1 ] && [ "$cycles" -gt 0 ] && cycle_every=1
done_cycles=0
bad=0
for n in $(seq 1 "$captures"); do
    name=$(printf 'Soak%06d.bmp' "$n")
    if [ $((n % print_every)) -eq 0 ]; then
        how=Print
        focus_holder || { echo "FAIL: capture $n: the holder window did not get the focus"; bad=1; break; }
        mark_log
        xdotool key Print
        wait_until 30 test -f "$images_dir/$name" && wait_until 30 sequence_over
    else
        how=button
        clicked=$(d click "$TITLE" 2065) || how="button, the click failed: '$clicked'"
        wait_until 30 test -f "$images_dir/$name" || how="$how, no file within 30 s"
    fi
    # The image must be the next number and the only one: an image skipped, repeated or written
    # twice shows here.
    got=$(images)
    if [ "$got" != "$name" ]; then
        echo "FAIL: capture $n ($how): expected only $name, got '${got}'"
        bad=1
        break
    fi
    if ! out=$(python3 "$CHECK_BITMAP" "$images_dir/$name" $IMAGE_WIDTH $IMAGE_HEIGHT 128); then
        echo "FAIL: capture $n ($how): $name is not a frame of the pattern"
        echo "$out" | sed 's/^/  /'
        bad=1
        break
    fi
    rm -f "$images_dir/$name"
    if [ "$cycle_every" -gt 0 ] && [ "$done_cycles" -lt "$cycles" ] &&
        [ $((n % cycle_every)) -eq 0 ]; then
        if ! cycle; then
            echo "FAIL: removal and arrival $((done_cycles + 1)) after capture $n did not end"
            bad=1
            break
        fi
        done_cycles=$((done_cycles + 1))
    fi
    if [ $((n % sample_every)) -eq 0 ]; then
        echo "$n $(tool_rss_kb) $((SECONDS - started)) $(tool_memory_split)" >>"$samples"
        echo "captures $n, cycles $done_cycles, $(tool_rss_kb) KB, $((SECONDS - started)) s"
    fi
done
E2E_CHECKS=$((E2E_CHECKS + 1))
if [ "$bad" -eq 0 ]; then
    echo "ok: $captures captures, each the next number and a frame of the pattern"
else
    E2E_FAILURES=$((E2E_FAILURES + 1))
fi
check_eq "removal and arrival cycles" "$cycles" "$done_cycles"
check_eq "the counter in the settings file" "$captures" "$(setting ImageCounter)"

# The table and the least-squares slope of the samples from capture $settle on.
# unix_heap: glibc's heap of Wine's Unix side, X11 and the GL driver; anon: anonymous mappings,
# where the Windows heaps of the tool, Wine's DLLs and the framework live; files: mapped files.
echo "captures  rss_kb  seconds  unix_heap  anon  files"
awk '{printf "%8d  %6d  %7d  %9d  %6d  %5d\n", $1, $2, $3, $4, $5, $6}' "$samples"
summary=$(awk -v from="$settle" '$1 >= from {
        n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2
        if (min == "" || $2 < min) min = $2
        if ($2 > max) max = $2 }
    END {
        if (n < 2) { print "none 0"; exit }
        d = n * sxx - sx * sx
        printf "%.3f %d\n", (d ? (n * sxy - sx * sy) / d : 0), max - min }' "$samples")
slope=${summary% *}
spread=${summary#* }
echo "slope after $settle captures: $slope KB per capture; spread $spread KB;" \
    "$captures captures, $done_cycles cycles in $((SECONDS - started)) s"
[ -n "${SOAK_SAMPLES:-}" ] && cp "$samples" "$SOAK_SAMPLES"
if [ -n "$flat_kb" ]; then
    check_true "memory flat after $settle captures: spread $spread KB within $flat_kb KB" \
        test "$spread" -le "$flat_kb"
fi

stop_holder
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
check_eq "exit code" "0" "$E2E_EXIT"
# With FRAMEWRIGHT_RESOURCE_COUNTS set the tool prints what the logic still holds as it ends.
grep -a 'resource counts' "$E2E_TMP/tool.err"
e2e_end
