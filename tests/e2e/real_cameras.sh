#!/usr/bin/env bash
# Cameras shaped like real USB webcams, one configuration after the other in one prefix: a
# microphone listed before the camera, a camera another program uses, one kept by the privacy
# settings, one whose exposure settles over its first frames; and FramewrightCli's paths in Greek
# and Polish letters.
. "$(dirname "$0")/cli_lib.sh"
. "$(dirname "$0")/panel_lib.sh"
e2e_require "$E2E_CLI" "$WINDOWS_BUILD/framewright_convert.dll"
e2e_begin real_cameras mic-first.cfg

# use_cameras CONFIG: the prefix's cameras are those of another configuration from now on.
use_cameras() {
    bash "$E2E_ROOT/vcam/prefix.sh" prepare "$E2E_PREFIX" "$E2E_VCAM_DLL" \
        "$E2E_ROOT/tests/e2e/cameras/$1" || { echo "FAIL: cameras of $1 not registered"; exit 1; }
    : >"$FRAMEWRIGHT_VCAM_LOG"
}

# The microphone comes first in the capture category: the still and the preview run the camera.
cli capture --out mic.bmp --width 640 --height 480 --settle-ms 0
check_eq "microphone first: capture exit code" "0" "$CLI_EXIT"
check_image "microphone first: the camera's pattern" "$E2E_WORK/mic.bmp" 640 480 128
check_eq "microphone first: only the camera streamed" "cam=1 filter run hr=0x00000000" \
    "$(camera_log 'filter run')"
: >"$FRAMEWRIGHT_VCAM_LOG"
write_settings StartWithPreview=1
e2e_start_tool
check_true "microphone first: the window program's preview runs" wait_until 60 log_has 'filter run'
check_eq "microphone first: the preview runs the camera" "cam=1 filter run hr=0x00000000" \
    "$(camera_log 'filter run')"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "microphone first: the window program's exit code" "0" "$E2E_EXIT"
rm -f "$E2E_WORK/Framewright.ini"

# Paths in any letters reach the file functions as given: an image into a Greek folder, and the
# settings file of a Polish current folder written and read there.
greek=$'\xce\xb5\xce\xb9\xce\xba\xcf\x8c\xce\xbd\xce\xb5\xcf\x82'
polish=$'zdj\xc4\x99cia \xc5\x81\xc3\xb3d\xc5\xba'
mkdir -p "$E2E_WORK/$greek" "$E2E_WORK/$polish"
cli capture --out "$greek\\shot.bmp" --width 640 --height 480 --settle-ms 0
check_eq "Greek folder: exit code" "0" "$CLI_EXIT"
check_eq "Greek folder: what it did" "camera 1: 640x480 image written to $greek\\shot.bmp" "$CLI_OUT"
check_image "Greek folder: the image is in the folder named" "$E2E_WORK/$greek/shot.bmp" 640 480 128
(cd "$E2E_WORK/$polish" && ws_run "$E2E_PREFIX" 120 "$E2E_CLI" save >"$E2E_TMP/cli.out" 2>&1)
check_eq "Polish current folder: save exit code" "0" "$?"
check_eq "Polish current folder: the settings file is there, in ANSI text" "[General]" \
    "$(head -c 9 "$E2E_WORK/$polish/Framewright.ini" 2>/dev/null)"
(cd "$E2E_WORK/$polish" && ws_run "$E2E_PREFIX" 120 "$E2E_CLI" apply >"$E2E_TMP/cli.out" 2>&1)
check_eq "Polish current folder: apply reads it (exit code)" "0" "$?"

use_cameras busy.cfg
cli capture --out busy.bmp
check_eq "camera in use: exit code" "6" "$CLI_EXIT"
check_eq "camera in use: the message" "FramewrightCli: camera 1 is in use by another program" \
    "$CLI_ERR"
check_true "camera in use: no file" test ! -e "$E2E_WORK/busy.bmp"
# The window program: no preview, and the status bar says why.
status_is() { [ "$(d status "$TITLE" 2>/dev/null)" = "$1" ]; }
write_settings StartWithPreview=1
e2e_start_tool
check_true "camera in use: the window program says so" \
    wait_until 60 status_is "Camera in use by another program"
check_eq "camera in use: the preview button still offers a preview" "Preview" \
    "$(controls_field 3 2000)"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "camera in use: the window program's exit code" "0" "$E2E_EXIT"
rm -f "$E2E_WORK/Framewright.ini"

use_cameras denied.cfg
cli capture --out denied.bmp
check_eq "privacy switch: exit code" "6" "$CLI_EXIT"
check_eq "privacy switch: the message" \
    "FramewrightCli: camera 1: access to the camera is switched off in the privacy settings" \
    "$CLI_ERR"

# The first 15 frames rise from black: the default settling takes a frame after them, 0 the first.
use_cameras ramp.cfg
cli capture --out first.bmp --width 640 --height 480 --settle-ms 0
check_eq "settle 0: exit code" "0" "$CLI_EXIT"
check_image "settle 0: the first frame, still dark" "$E2E_WORK/first.bmp" 640 480 0
check_eq "settle 0: frame number" "0" "$IMAGE_FRAME"
cli capture --out settled.bmp --width 640 --height 480
check_eq "default settle: exit code" "0" "$CLI_EXIT"
check_image "default settle: the pattern at the camera's brightness" "$E2E_WORK/settled.bmp" 640 480 128

# The window program's unattended still from webcams without RGB24 comes out at the stored size:
# the camera's own format of that size, converted for the grabber.
window_still() { # CONFIG SUBTYPE WIDTH HEIGHT TOLERANCE MARGIN
    use_cameras "$1"
    write_settings "ImageSavePath=$(windows_path "$E2E_WORK/window.bmp")" StartWithPreview=1 \
        CaptureOnStart=1 ExitOnCapture=1 ReviewTimeMs=0 "Camera0.ResolutionX=$3" \
        "Camera0.ResolutionY=$4"
    rm -f "$E2E_WORK/window.bmp"
    e2e_start_tool
    e2e_wait_exit 90
    check_eq "$1 ${3}x$4: the window program's exit code" "0" "$E2E_EXIT"
    check_eq "$1 ${3}x$4: the camera streamed $2" "$2 ${3}x$4" \
        "$(camera_log 'pin connect subtype' | tail -n 1 |
            sed -E 's/.*subtype=([A-Z0-9]+) width=([0-9]+) height=([0-9]+).*/\1 \2x\3/')"
    check_image_near "$1 ${3}x$4: the still at the stored size" "$E2E_WORK/window.bmp" "$3" "$4" \
        128 "$5" "$6"
    rm -f "$E2E_WORK/Framewright.ini"
}
window_still uvc-yuy2.cfg YUY2 1920 1080 4 0
window_still uvc-yuy2.cfg YUY2 640 480 4 0
window_still uvc-mjpg.cfg MJPG 1920 1080 6 8
e2e_end
