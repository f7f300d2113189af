#!/usr/bin/env bash
# The selected camera is pulled out at awkward moments, then the removal notice comes, the camera is
# plugged in again and the arrival notice comes. Whatever the moment: the tool does not crash or
# hang, writes no image that is not a whole frame of the camera's pattern, takes a fresh frame of
# the returning camera (the camera logs a new run and a new first frame for it), and exits with 0.
#
# The moments, and what each case can and cannot make sure of under Wine:
#  (b1) "Capture Image" builds the preview; the camera goes as soon as it logs its pin connection,
#       before the graph runs. Most often the camera then refuses to run (logged hr=0x8007048F) and
#       there is no frame to wait for: no file. When the tool is quicker than this script, the camera
#       already streams and the image must be a whole frame. Which one happened is printed.
#  (a)  The preview runs and delivers frames; the camera goes (its stream logs "halted unplugged"),
#       and "Capture Image" is pressed before the removal notice: the grabber may still hold the
#       last whole frame, which may be written; nothing else may.
#  (b2) "Capture Image" runs the stopped preview and waits 250 ms for frames; the camera goes as
#       soon as it logs its first frame, so inside that wait unless the script is slower than 250 ms
#       (then the image is simply taken before). The image must be a whole frame.
#  (c)  A Print-key capture: the camera goes once it logs the stop that begins the review time
#       (4 s). Its refused run after the review proves that the moment fell inside it.
#  (d)  Between a slider move and its write: the camera is pulled out just before the move, as a
#       script cannot get between the tool's WM_HSCROLL and its write. The write is refused, the
#       status text and the rest of the handler are as usual; after the camera returns the slider
#       reaches it again.
#
# openbox runs without key bindings, so that the Print key reaches Wine (see print_key.sh).
WS_OPENBOX_CONFIG=$(cd "$(dirname "$0")" && pwd)/openbox_no_keys.xml
export WS_OPENBOX_CONFIG
. "$(dirname "$0")/capture_lib.sh"
e2e_require "$WINDOWS_BUILD/status_hook.dll"
e2e_begin vanishing_camera one.cfg

NO_CAMERA="No Parvanex Camera detected, please attach a Parvanex Webcam"
LABEL="Camera 1: Parvanex Virtual Camera"
brightness=128
CHECKED=" "

# Five removals and arrivals take longer than the default limit of a tool run.
E2E_TOOL_LIMIT=900
write_settings "ImageSavePath=$(windows_path "$E2E_WORK/Shot.bmp")" IncrementImageName=1 \
    UsePrintKeyToCaptureImages=1 ReviewTimeMs=4000
e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 30000 >/dev/null
check_true "start-up applied the record" wait_until 20 log_has 'cameracontrol set id=6 '

# pull_now: camera 0 answers nothing from now on and stops streaming (the unplug file it watches);
# its registry keys go with the removal notice.
pull_now() { echo "removed 0" >>"$FRAMEWRIGHT_VCAM_UNPLUG"; }

# pull_when REGEX: in the background, pull_now as soon as the camera logs a line matching REGEX
# after the mark; PULL_JOB fails when that line has not come within 60 s.
pull_when() {
    local from=$((E2E_LOG_MARK + 1)) until=$(($(date +%s) + 60))
    (
        while [ "$(date +%s)" -le "$until" ]; do
            if tail -n +"$from" "$FRAMEWRIGHT_VCAM_LOG" | grep -aEq "$1"; then
                pull_now
                exit 0
            fi
            sleep 0.005
        done
        exit 1
    ) &
    PULL_JOB=$!
}

# print_key: the Print key pressed and released on the display, with the tool's window active so
# that the key reaches Wine (and so its low-level hook).
print_key() {
    local window
    window=$(xdotool search --name "^$TITLE\$" | head -1)
    timeout 10 xdotool windowactivate --sync "$window" 2>/dev/null
    xdotool key Print
}

# back_in_loop: the tool answers a sent request again, so the handler that ran has returned.
back_in_loop() { wait_until 30 eval 'd status "$TITLE" >/dev/null 2>&1'; }

# check_new_images WHAT: every image not checked before is a whole frame of the pattern.
check_new_images() {
    local file
    for file in "$E2E_WORK"/Shot*.bmp; do
        [ -f "$file" ] || continue
        [[ "$CHECKED" == *" $file "* ]] && continue
        check_image "$1: $(basename "$file") is a whole frame" "$file" 1920 1080 "$brightness"
        CHECKED="$CHECKED$file "
    done
}
image_count() { find "$E2E_WORK" -name 'Shot*.bmp' | wc -l; }

# removal WHAT: the keys go and the removal notice is sent; the panel shows no camera and the
# graph of the missing camera is given up ("Preview").
removal() {
    e2e_unplug 0
    check_eq "$1: after the removal notice, no camera" "$NO_CAMERA" "$(d status "$TITLE")"
    check_eq "$1: after the removal notice, the Preview button" "Preview" "$(d text "$TITLE" 2000)"
}

# replug_and_capture WHAT: the camera returns, the arrival notice is sent, and "Capture Image"
# takes a fresh whole frame: the camera ran anew and delivered a first frame for it.
replug_and_capture() {
    e2e_plug one.cfg
    check_eq "$1: after the arrival notice, Camera 1" "$LABEL" "$(d status "$TITLE")"
    local before
    before=$(image_count)
    mark_log
    d click "$TITLE" 2065 >/dev/null
    back_in_loop
    check_eq "$1: after the camera came back, \"Capture Image\" writes one image" \
        "$((before + 1))" "$(image_count)"
    check_true "$1: the camera ran anew for it" eval \
        'log_since_mark "filter run hr=0x00000000" | grep -q . && log_since_mark "stream first-frame" | grep -q .'
    check_new_images "$1"
}

# --- (b1) The camera goes while "Capture Image" builds the preview, before it runs.
mark_log
pull_when 'pin connect'
d press "$TITLE" 2065 >/dev/null
check_true "(b1) the camera went after its pin connected" wait "$PULL_JOB"
check_true "(b1) \"Capture Image\" returns" back_in_loop
if log_since_mark 'filter (pause|run) hr=0x8007048F' | grep -q .; then
    echo "(b1) observed: the camera refused to run; no frame came"
    check_eq "(b1) no frame, no image" "0" "$(image_count)"
else
    echo "(b1) observed: the camera streamed before it went ($(log_since_mark 'stream halted' | tail -1))"
fi
check_new_images "(b1)"
check_true "(b1) the tool still runs" kill -0 "$E2E_TOOL_PID"
removal "(b1)"
replug_and_capture "(b1)"

# --- (a) The camera goes while its preview runs; "Capture Image" before the removal notice.
check_eq "(a) the preview runs" "Stop" "$(d text "$TITLE" 2000)"
mark_log
pull_now
check_true "(a) the camera stops streaming" wait_until 10 eval \
    'log_since_mark "stream halted unplugged" | grep -q .'
before=$(image_count)
d click "$TITLE" 2065 >/dev/null
back_in_loop
echo "(a) observed: $(($(image_count) - before)) image(s) of the grabber's last frame"
check_new_images "(a)"
removal "(a)"
replug_and_capture "(a)"

# --- (b2) The camera goes in the 250 ms that "Capture Image" waits for frames.
d click "$TITLE" 2000 >/dev/null
check_eq "(b2) the preview is stopped" "Preview" "$(d text "$TITLE" 2000)"
mark_log
pull_when 'stream first-frame'
before=$(image_count)
d press "$TITLE" 2065 >/dev/null
check_true "(b2) the camera went after its first frame" wait "$PULL_JOB"
check_true "(b2) \"Capture Image\" returns" back_in_loop
echo "(b2) observed: $(($(image_count) - before)) image(s); $(log_since_mark 'stream halted' | tail -1)"
check_new_images "(b2)"
removal "(b2)"
replug_and_capture "(b2)"

# --- (c) The camera goes during the review time of a Print-key capture.
before=$(image_count)
mark_log
pull_when 'filter stop'
print_key
check_true "(c) the review time began (the preview stopped after the image)" wait "$PULL_JOB"
check_true "(c) after the review the camera refused to run again: it went within the review time" \
    wait_until 15 eval 'log_since_mark "filter (pause|run) hr=0x8007048F" | grep -q .'
back_in_loop
check_eq "(c) the one image of the key" "$((before + 1))" "$(image_count)"
check_new_images "(c)"
removal "(c)"
e2e_plug one.cfg
check_eq "(c) after the arrival notice, Camera 1" "$LABEL" "$(d status "$TITLE")"
before=$(image_count)
mark_log
print_key
check_true "(c) the next Print key after the camera came back takes an image" \
    wait_until 20 eval '[ "$(image_count)" -eq $((before + 1)) ]'
check_true "(c) the camera ran anew for it" eval \
    'log_since_mark "filter run hr=0x00000000" | grep -q . && log_since_mark "stream first-frame" | grep -q .'
check_new_images "(c)"
check_true "(c) the review time ends" wait_until 15 eval \
    '[ "$(log_since_mark "filter run" | wc -l)" -ge 2 ]'
back_in_loop

# --- (d) The camera goes just before a slider move reaches it.
mark_log
pull_now
d slide "$TITLE" 2043 200 >/dev/null
check_eq "(d) the slider's write is refused" "cam=0 procamp set id=0 value=200 flags=2 hr=0x8007048F" \
    "$(log_since_mark 'procamp set id=0 ')"
check_eq "(d) the status text as usual" "Brightness Value: 200" "$(d status "$TITLE")"
removal "(d)"
e2e_plug one.cfg
mark_log
d slide "$TITLE" 2043 200 >/dev/null
check_eq "(d) after the camera came back the slider reaches it" \
    "cam=0 procamp set id=0 value=200 flags=2 hr=0x00000000" "$(log_since_mark 'procamp set id=0 ')"
brightness=200
replug_and_capture "(d)"

# --- Exit: the slider changed a setting, so the question comes; No, and the code is 0.
d press "$TITLE" 2009 >/dev/null
check_true "Exit asks to save" d wait-box Event 10000 >/dev/null
d answer-box Event 7 >/dev/null
e2e_wait_exit 30
check_eq "exit code" "0" "$E2E_EXIT"
e2e_end
