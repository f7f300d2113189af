#!/usr/bin/env bash
# The still without a window on the virtual camera (headless_probe.exe, as a console program runs
# CaptureWithoutWindow): camera -> sample grabber -> null renderer gives a valid bitmap of the test
# pattern at the size asked, the camera sees one format request and one connection, a file that
# cannot be written leaves nothing, and the window program's preview claims the camera so that the
# capture is refused while it lasts and allowed once the tool has exited.
. "$(dirname "$0")/capture_lib.sh"
PROBE=$WINDOWS_BUILD/headless_probe.exe
e2e_require "$PROBE"
e2e_begin headless_capture one.cfg

# probe ARGS...: one run of the probe in the working folder; its stdout, without CR.
probe() { (cd "$E2E_WORK" && ws_run "$E2E_PREFIX" 120 "$PROBE" "$@" 2>>"$E2E_TMP/probe.err" | tr -d '\r'); }
# outcome LINE: the outcome and result of a capture line, without its time.
outcome() { printf '%s\n' "$1" | sed -E 's/ ms=[0-9]+$//'; }

still=$E2E_WORK/Headless.bmp
line=$(probe capture 1 1920 1080 3000 "$(windows_path "$still")")
echo "  1080p: $line"
check_eq "1080p: written" "outcome=Written result=0x00000000" "$(outcome "$line")"
check_image "1080p: headers and pixels of the pattern" "$still" 1920 1080 128
# The camera lists 1920x1080 in MJPG before RGB24: both entries are asked for in RGB24, as the
# preview asks for them.
check_eq "1080p: the format asked for and the one connection" \
    "cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 pin connect subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'setformat|pin connect')"
check_eq "1080p: run once and stopped" "cam=0 filter run hr=0x00000000
cam=0 filter stop hr=0x00000000" "$(camera_log 'filter (run|stop)')"
check_eq "1080p: no file beside the image" "Headless.bmp" "$(images)"

: >"$FRAMEWRIGHT_VCAM_LOG"
line=$(probe capture 1 1280 720 3000 "$(windows_path "$still")")
echo "  720p: $line"
check_eq "720p: written" "outcome=Written result=0x00000000" "$(outcome "$line")"
check_image "720p: headers and pixels of the pattern" "$still" 1280 720 128
check_eq "720p: the format asked for and connected" \
    "cam=0 pin connect subtype=RGB24 width=1280 height=720 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'pin connect')"

# A folder that does not exist: nothing is written, and the earlier image stays.
line=$(probe capture 1 1280 720 3000 "$(windows_path "$E2E_WORK/missing/Headless.bmp")")
check_eq "missing folder: WriteFailed with the path's error" \
    "outcome=WriteFailed result=0x80070003" "$(outcome "$line")"
check_eq "missing folder: nothing else written" "Headless.bmp" "$(images)"

line=$(probe capture 2 1280 720 3000 "$(windows_path "$E2E_WORK/Second.bmp")")
check_eq "no second camera: NoCamera" "NoCamera" "$(outcome "$line" | sed -E 's/outcome=([A-Za-z]+).*/\1/')"

# The window program's preview claims the camera: the capture is refused and builds nothing.
check_eq "without the tool: free" "free" "$(probe busy 1)"
write_settings StartWithPreview=1
mark_log
e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_true "the preview runs" wait_until 30 eval '[ -n "$(log_since_mark "filter run")" ]'
check_eq "while the tool previews: busy" "busy" "$(probe busy 1)"
mark_log
line=$(probe capture 1 1280 720 3000 "$(windows_path "$E2E_WORK/Refused.bmp")")
check_eq "while the tool previews: CameraBusy" "CameraBusy" \
    "$(outcome "$line" | sed -E 's/outcome=([A-Za-z]+).*/\1/')"
check_eq "while the tool previews: nothing asked of the camera" "" \
    "$(log_since_mark 'setformat|pin connect|filter (run|stop)')"
check_eq "while the tool previews: no file" "Headless.bmp" "$(images)"
check_eq "the tool's preview runs on" "Stop" "$(d text "$TITLE" 2000)"
d click "$TITLE" 2000 >/dev/null
check_eq "a stopped preview keeps its graph and its claim" "busy" "$(probe busy 1)"
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
check_eq "the tool's exit code" "0" "$E2E_EXIT"
check_eq "after the tool's exit: free" "free" "$(probe busy 1)"
line=$(probe capture 1 1280 720 3000 "$(windows_path "$still")")
check_eq "after the tool's exit: written" "outcome=Written result=0x00000000" "$(outcome "$line")"
e2e_end
