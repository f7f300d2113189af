#!/usr/bin/env bash
# The unattended options on the virtual camera: StartWithPreview, CaptureOnStart and ExitOnCapture
# together take exactly one picture and end the tool with code 0; CaptureOnStart alone follows the
# first start of a graph with one capture sequence, and the restart of a stopped graph with none.
. "$(dirname "$0")/capture_lib.sh"
e2e_begin unattended one.cfg

shot=$E2E_WORK/Unattended.bmp
# Counted names, so that a second capture would show as a second file.
write_settings "ImageSavePath=$(windows_path "$shot")" IncrementImageName=1 StartWithPreview=1 \
    CaptureOnStart=1 ExitOnCapture=1 ReviewTimeMs=200
e2e_start_tool
e2e_wait_exit 60
check_eq "unattended: exit code" "0" "$E2E_EXIT"
check_eq "unattended: exactly one image" "Unattended000001.bmp" "$(images)"
check_image "unattended: the image is a frame of the pattern" "$E2E_WORK/Unattended000001.bmp" \
    1920 1080 128
check_eq "unattended: one graph built and run" \
    "cam=0 pin connect subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'pin connect')"
# ExitOnCapture closes without the save: the file differs from what was written only by the
# counter the capture stored.
SETTINGS_FILE=$E2E_TMP/expected.ini write_settings "ImageSavePath=$(windows_path "$shot")" \
    IncrementImageName=1 StartWithPreview=1 CaptureOnStart=1 ExitOnCapture=1 ReviewTimeMs=200 \
    ImageCounter=1
check_eq "unattended: the settings file changed only in ImageCounter" \
    "$(bytes_of "$E2E_TMP/expected.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
check_eq "unattended: no window left" "" "$(d windows "$TITLE")$(d windows "$VIDEO_TITLE")"

# CaptureOnStart alone, and "Capture Image" while no graph exists: the button builds and runs the
# graph and takes one image after its wait; the capture sequence that the build started takes a
# second one, then stops the preview for the review time and runs it again.
rm -f "$E2E_WORK"/*.bmp
: >"$FRAMEWRIGHT_VCAM_LOG"
write_settings "ImageSavePath=$(windows_path "$shot")" IncrementImageName=1 CaptureOnStart=1 \
    ReviewTimeMs=200
e2e_start_tool
check_true "capture on start: the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_true "capture on start: start-up applied the record" \
    wait_until 20 log_has 'cameracontrol set id=6 '
mark_log
# The driver's click returns when the button's handler has returned: the first image is written
# (the capture sequence's timer came due meanwhile and may have written the second already).
check_eq "capture on start: Capture Image builds, runs and captures" "clicked 2065" \
    "$(d click "$TITLE" 2065)"
check_true "capture on start: the button's image" test -f "$E2E_WORK/Unattended000001.bmp"
check_true "capture on start: a second image follows the button's" \
    wait_until 10 test -f "$E2E_WORK/Unattended000002.bmp"
check_true "capture on start: the preview runs again after the review time" \
    wait_until 10 eval '[ "$(log_since_mark "filter (run|stop)" | tail -1)" == "cam=0 filter run hr=0x00000000" ] &&
        [ "$(log_since_mark "filter stop" | wc -l)" -eq 1 ]'
check_eq "capture on start: the two images and the counter" \
    "Unattended000001.bmp Unattended000002.bmp 2" "$(images) $(setting ImageCounter)"
# Stop and run again: the graph is not built anew, so no capture follows.
mark_log
check_eq "capture on start: Preview stops the graph" "clicked 2000" "$(d click "$TITLE" 2000)"
check_eq "capture on start: the stop reached the camera" "cam=0 filter stop hr=0x00000000" \
    "$(log_since_mark "filter (run|stop)" | tail -1)"
check_eq "capture on start: Preview runs the graph again" "clicked 2000" "$(d click "$TITLE" 2000)"
check_eq "capture on start: Preview stops and runs the graph again" "Stop" "$(d text "$TITLE" 2000)"
# A capture sequence would be started by a timer due 100 ms after the run: once a timer due later
# than that has had its turn, the sequence would have run and written its image.
check_true "capture on start: the tool's timers due by then have been handled" \
    d wait-timers "$TITLE" 500
check_eq "capture on start: restarting a stopped graph takes no image" \
    "Unattended000001.bmp Unattended000002.bmp" "$(images)"
check_eq "capture on start: nothing stopped the preview after the run" \
    "cam=0 filter run hr=0x00000000" "$(log_since_mark "filter (run|stop)" | tail -1)"
for n in 1 2; do
    check_image "capture on start: image $n is a frame of the pattern" \
        "$E2E_WORK/Unattended00000$n.bmp" 1920 1080 128
done
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 60
check_eq "capture on start: exit code" "0" "$E2E_EXIT"

# Requests made while the capture sequence holds the thread in a review time longer than 5 s wait
# their turn (the driver used to lose them): a caption asked during the review is answered, and
# Exit then ends the tool.
rm -f "$E2E_WORK"/*.bmp
: >"$FRAMEWRIGHT_VCAM_LOG"
write_settings "ImageSavePath=$(windows_path "$shot")" IncrementImageName=1 StartWithPreview=1 \
    CaptureOnStart=1 ReviewTimeMs=6000
e2e_start_tool
check_true "long review: the capture sequence stops the preview for its review" \
    wait_until 60 log_has 'filter stop'
check_eq "long review: a caption asked during the review is answered" "Stop" "$(d text "$TITLE" 2000)"
check_true "long review: the capture sequence returns to the message loop" timers_passed 1
check_eq "long review: the preview runs again after the review" "cam=0 filter run hr=0x00000000" \
    "$(camera_log 'filter (run|stop)' | tail -1)"
check_true "long review: Exit is clicked" eval '[[ "$(d click "$TITLE" 2009)" == "clicked 2009"* ]]'
e2e_wait_exit 60
check_eq "long review: Exit ended the tool, code 0" "0" "$E2E_EXIT"
check_eq "long review: one image" "Unattended000001.bmp" "$(images)"
e2e_end
