#!/usr/bin/env bash
# FramewrightCli.exe capture with one virtual camera: a bitmap of the camera's test pattern at the
# default format, at a size given and with no X display at all; refused (exit 6) while the window
# program previews the camera.
. "$(dirname "$0")/cli_lib.sh"
e2e_require "$E2E_CLI"
e2e_begin cli_capture one.cfg

shot=$E2E_WORK/cli.bmp
cli capture --out cli.bmp
check_eq "capture: exit code" "0" "$CLI_EXIT"
check_eq "capture: what it did" "camera 1: 1920x1080 image written to cli.bmp" "$CLI_OUT"
check_image "capture: a frame of the test pattern at 1920 x 1080" "$shot" 1920 1080 128
check_eq "capture: the graph ran and stopped" "cam=0 filter run hr=0x00000000|cam=0 filter stop hr=0x00000000" \
    "$(camera_log 'filter (run|stop)' | paste -sd '|')"
# The camera lists 1920x1080 in MJPG before RGB24: both entries are asked for in RGB24, as the
# preview asks for them, and it connects once.
check_eq "capture: the format asked for and the one connection" \
    "cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 pin connect subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'setformat|pin connect')"
check_eq "capture: no file beside the image" "cli.bmp" "$(images)"

# A folder that does not exist: exit 6 with the path's error, nothing written anywhere.
cli capture --out 'missing\cli.bmp' --settle-ms 0
check_eq "missing folder: exit code" "6" "$CLI_EXIT"
check_eq "missing folder: the message" "FramewrightCli: cannot write missing\cli.bmp: 0x80070003" \
    "$CLI_ERR"
check_eq "missing folder: nothing else written" "cli.bmp" "$(images)"

: >"$FRAMEWRIGHT_VCAM_LOG"
cli set Brightness=150
cli capture --out small.bmp --width 640 --height 480
check_eq "capture at a given size: exit code" "0" "$CLI_EXIT"
check_image "capture at a given size: the pattern at the brightness set" "$E2E_WORK/small.bmp" 640 480 150
check_eq "capture at a given size: the format asked" \
    "cam=0 pin connect subtype=RGB24 width=640 height=480 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'pin connect')"

# Where no desktop is shown: no X display at all.
DISPLAY= cli capture --out nodisplay.bmp
check_eq "capture without a display: exit code" "0" "$CLI_EXIT"
check_image "capture without a display: a frame of the test pattern" "$E2E_WORK/nodisplay.bmp" \
    1920 1080 150

# The window program previewing the camera: the capture leaves it alone.
write_settings StartWithPreview=1 Camera0.Brightness=150
: >"$FRAMEWRIGHT_VCAM_LOG" # the captures above ran the camera too: wait for the tool's own run
e2e_start_tool
check_true "window program: the preview runs" wait_until 60 log_has 'filter run'
rm -f "$shot"
: >"$FRAMEWRIGHT_VCAM_LOG"
cli capture --out cli.bmp
check_eq "capture during the preview: exit code 6" "6" "$CLI_EXIT"
check_eq "capture during the preview: the message" \
    "FramewrightCli: camera 1 is being previewed by the window program; close its preview and try again" \
    "$CLI_ERR"
check_true "capture during the preview: no file" test ! -e "$shot"
check_eq "capture during the preview: the camera was not bound for a graph" "" \
    "$(camera_log '(pin connect|filter run)')"
check_eq "capture during the preview: the tool's preview runs on" "Stop" "$(d text "$TITLE" 2000)"
d click "$TITLE" 2000 >/dev/null
cli capture --out cli.bmp --settle-ms 0
check_eq "a stopped preview keeps its graph and its claim: exit code 6" "6" "$CLI_EXIT"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "window program: exit code" "0" "$E2E_EXIT"
cli capture --out cli.bmp --settle-ms 0
check_eq "after the window program's exit: the capture runs" "0" "$CLI_EXIT"
e2e_end
