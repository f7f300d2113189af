#!/usr/bin/env bash
# FramewrightCli.exe capture from cameras shaped like USB webcams, which offer no RGB24: one with
# YUY2 only, one with MJPG and YUY2. The tool's RGB24 grabber reaches them through the converter
# Intelligent Connect inserts (in the test prefix the stand-in framewright_convert.dll, as Wine 8
# has none), at 1920x1080 and at 640x480.
. "$(dirname "$0")/cli_lib.sh"
e2e_require "$E2E_CLI" "$WINDOWS_BUILD/framewright_convert.dll"
e2e_begin cli_capture_uvc uvc-yuy2.cfg

# capture_at CAMERA SUBTYPE WIDTH HEIGHT TOLERANCE MARGIN
capture_at() {
    local camera=$1 subtype=$2 width=$3 height=$4 file=$1-$3.bmp
    : >"$FRAMEWRIGHT_VCAM_LOG"
    cli capture --width "$width" --height "$height" --out "$file"
    check_eq "$camera ${width}x$height: exit code" "0" "$CLI_EXIT"
    check_eq "$camera ${width}x$height: what it did" \
        "camera 1: ${width}x$height image written to $file" "$CLI_OUT"
    check_eq "$camera ${width}x$height: the camera streamed $subtype" "$subtype ${width}x$height" \
        "$(camera_log 'pin connect subtype' | tail -n 1 |
            sed -E 's/.*subtype=([A-Z0-9]+) width=([0-9]+) height=([0-9]+).*/\1 \2x\3/')"
    check_image_near "$camera ${width}x$height: the pattern in RGB24" "$E2E_WORK/$file" \
        "$width" "$height" 128 "$5" "$6"
}

# YUV quantisation moves a channel by up to 2 levels; JPEG blurs 8 pixels either side of an edge.
capture_at yuy2 YUY2 1920 1080 4 0
capture_at yuy2 YUY2 640 480 4 0

bash "$E2E_ROOT/vcam/prefix.sh" plug "$E2E_PREFIX" "$E2E_VCAM_DLL" \
    "$E2E_ROOT/tests/e2e/cameras/uvc-mjpg.cfg" || check_eq "uvc-mjpg.cfg registered" 0 1
capture_at mjpg MJPG 1920 1080 6 8
capture_at mjpg MJPG 640 480 6 8
e2e_end
