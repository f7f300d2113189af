#!/usr/bin/env bash
# The worked examples of docs/settings.md, each run exactly as the page shows it: every
# Framewright.ini and batch file is copied out of the page by its label (doc_example.py) and used
# unchanged, with one virtual camera whose name is the one the examples hold. Checked: what each
# example's text says it does, in the camera's log and state, the pictures and the settings file.
#
# openbox runs without key bindings, so that the Print key reaches Wine (see print_key.sh).
WS_OPENBOX_CONFIG=$(cd "$(dirname "$0")" && pwd)/openbox_no_keys.xml
export WS_OPENBOX_CONFIG
. "$(dirname "$0")/cli_lib.sh"
e2e_require "$E2E_CLI"
e2e_begin settings_examples one.cfg

DOC=$E2E_ROOT/docs/settings.md
# C:\Images of the examples, in the prefix; emptied before each example and removed at the end.
IMAGES=$E2E_PREFIX/drive_c/Images
trap 'rm -rf "$IMAGES"; e2e_cleanup' EXIT

# example LABEL FILE: the page's file of that label written to FILE; the test stops without it.
example() {
    if ! python3 "$E2E_ROOT/tests/e2e/doc_example.py" "$DOC" "$1" "$2"; then
        echo "FAIL: no example $1 in $DOC"
        exit 1
    fi
}

# fresh_example LABEL: the working folder and C:\Images emptied, the example's Framewright.ini
# written into the folder (a copy kept as before.ini), the camera back at its own values and its
# log emptied.
fresh_example() {
    rm -rf "$IMAGES" "${E2E_WORK:?}"/*
    mkdir -p "$IMAGES"
    example "$1" "$E2E_WORK/Framewright.ini"
    cp "$E2E_WORK/Framewright.ini" "$E2E_TMP/before.ini"
    rm -f "$FRAMEWRIGHT_VCAM_STATE"
    : >"$FRAMEWRIGHT_VCAM_LOG"
}

# state IFACE ID: the words the camera holds for a property ("VALUE,FLAGS" for the standard
# interfaces, the property's words for the vendor set).
state() {
    grep -a "^cam=0 $1 id=$2 " "$FRAMEWRIGHT_VCAM_STATE" | sed -E 's/.* words=//' | tr -d '\r'
}

# pictures: the files in C:\Images, one line, in name order.
pictures() { (cd "$IMAGES" && ls -1 2>/dev/null | paste -sd ' '); }

# run_batch LABEL ARGS...: the page's batch file of that label run by cmd in the working folder,
# which holds FramewrightCli.exe as an installed folder does; CLI_EXIT, CLI_OUT and CLI_ERR as for
# cli.
run_batch() {
    local name=${1##*/}
    example "$1" "$E2E_WORK/$name"
    shift
    cp "$E2E_CLI" "$E2E_WORK/"
    (cd "$E2E_WORK" && ws_run "$E2E_PREFIX" 300 wine cmd /c "$name" "$@" \
        >"$E2E_TMP/cli.out" 2>"$E2E_TMP/cli.err")
    CLI_EXIT=$?
    CLI_OUT=$(tr -d '\r' <"$E2E_TMP/cli.out")
    CLI_ERR=$(tr -d '\r' <"$E2E_TMP/cli.err")
}

# The camera's writes from the first on, without process and time fields.
camera_writes() { camera_log ' (procamp|cameracontrol|vendor) set '; }

# --- 1. InitAndExit: camera 1's section applied, exit code 0, no window, the file unchanged.
fresh_example apply-and-exit/Framewright.ini
e2e_start_tool
e2e_wait_exit 120
check_eq "1 InitAndExit: exit code" "0" "$E2E_EXIT"
check_eq "1 InitAndExit: no window left" "" "$(d windows "$TITLE")"
camera_writes >"$E2E_TMP/init-and-exit-writes.txt"
# As the page lists them: power line 50 Hz, LED off, brightness 150, manual exposure of 0.025 s
# with a constant frame rate, contrast, saturation, sharpness, no white balance, backlight
# compensation, gain, zoom 122, the exposure time again, automatic focus.
check_eq "1 InitAndExit: the camera's requests, in the order the page gives" \
    "cam=0 procamp set id=13 value=1 flags=2 hr=0x00000000
cam=0 vendor set id=7 words=0,0,0,0,0 hr=0x00000000
cam=0 procamp set id=0 value=150 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=2 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,250 hr=0x00000000
cam=0 cameracontrol set id=19 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=32 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=64 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=24 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=0 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,122 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,250 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=1 hr=0x00000000" "$(cat "$E2E_TMP/init-and-exit-writes.txt")"
check_eq "1 InitAndExit: the camera holds them: brightness, exposure, frame-rate lock, zoom, focus" \
    "150,2 2,0,0,250 0,2 0,0,0,122 128,1" \
    "$(state procamp 0) $(state vendor 5) $(state cameracontrol 19) $(state vendor 3) $(state cameracontrol 6)"
check_eq "1 InitAndExit: the settings file left as it was" \
    "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

# --- 2. StartWithPreview, CaptureOnStart, ExitOnCapture: one picture at 1280 x 720, exit code 0.
fresh_example capture-at-start/Framewright.ini
e2e_start_tool
e2e_wait_exit 120
check_eq "2 one picture at start: exit code" "0" "$E2E_EXIT"
check_eq "2 one picture at start: exactly one picture, at ImageSavePath" "Part.bmp" "$(pictures)"
check_image "2 one picture at start: a frame at 1280 x 720 with the stored brightness" \
    "$IMAGES/Part.bmp" 1280 720 150
check_eq "2 one picture at start: the stream format asked" \
    "cam=0 pin connect subtype=RGB24 width=1280 height=720 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'pin connect')"
check_eq "2 one picture at start: the preview stopped for the review time, run again, ended by the exit" \
    "run stop run stop" "$(camera_log 'filter (run|stop)' | sed 's/cam=0 filter //; s/ hr=.*//' | paste -sd ' ')"
check_eq "2 one picture at start: no window left" "" "$(d windows "$TITLE")$(d windows "$VIDEO_TITLE")"
check_eq "2 one picture at start: the settings file left as it was" \
    "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

# --- 3. The Print key with counted names, on from ImageCounter after a restart.
# print_key: the tool's window activated and Print pressed on the display; returns once the
# picture NAME is there and the capture sequence is over (the preview runs again after it).
print_key() {
    local window runs=$2
    window=$(xdotool search --name "^$TITLE\$" | head -1)
    xdotool windowactivate --sync "$window" mousemove --window "$window" 300 200
    mark_log
    xdotool key Print
    check_true "3 Print key: $1 written" wait_until 20 test -f "$IMAGES/$1"
    check_true "3 Print key: the preview runs again after the review time" wait_until 20 eval \
        '[ "$(log_since_mark "filter (run|stop)" | sed "s/cam=0 filter //; s/ hr=.*//" | paste -sd " ")" == "$runs" ]'
}
# wait_applied: the window is there and start-up has applied the record (its last write is the
# focus).
wait_applied() {
    check_true "3 Print key: the window appears" d wait-window "$TITLE" 120000 >/dev/null
    check_true "3 Print key: start-up applied the record" wait_until 60 log_has 'cameracontrol set id=6 '
}
fresh_example print-key/Framewright.ini
e2e_start_tool
wait_applied
check_eq "3 Print key: no preview before the first picture" "" "$(camera_log 'pin connect')"
print_key Part000001.bmp "run stop run"
check_eq "3 Print key: ImageCounter holds the last number" "1" "$(setting ImageCounter)"
print_key Part000002.bmp "stop run"
exit_click=$(d click "$TITLE" 2009)
check_true "3 Print key: Exit closes without a question ($exit_click)" \
    eval '[[ "$exit_click" == "clicked 2009"* && "$exit_click" != *"still running"* ]]'
e2e_wait_exit 60
check_eq "3 Print key: exit code" "0" "$E2E_EXIT"
sed 's/^ImageCounter=0\r$/ImageCounter=2\r/' "$E2E_TMP/before.ini" >"$E2E_TMP/expected.ini"
check_eq "3 Print key: the settings file changed in ImageCounter alone" \
    "$(bytes_of "$E2E_TMP/expected.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
wait_applied
print_key Part000003.bmp "run stop run"
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 60
check_eq "3 Print key: the numbers go on after a restart" \
    "Part000001.bmp Part000002.bmp Part000003.bmp 3" "$(pictures) $(setting ImageCounter)"
for n in 1 2 3; do
    check_image "3 Print key: picture $n is a frame with the stored brightness" \
        "$IMAGES/Part00000$n.bmp" 1920 1080 150
done

# --- 4. FramewrightCli apply with example 1's file: the requests of that example's start.
fresh_example apply-and-exit/Framewright.ini
run_batch cli/apply.cmd
check_eq "4 apply: exit code" "0" "$CLI_EXIT"
check_true "4 apply: what it printed ($CLI_OUT)" \
    eval '[[ "$CLI_OUT" == "camera 1: [Camera0] of "*"\Framewright.ini applied" ]]'
check_true "4 apply: the InitAndExit start made requests" test -s "$E2E_TMP/init-and-exit-writes.txt"
check_eq "4 apply: the camera requests of example 1's start, in its order" \
    "$(cat "$E2E_TMP/init-and-exit-writes.txt")" "$(camera_writes)"
check_eq "4 apply: the settings file left as it was" \
    "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

# --- 5. FramewrightCli apply, then capture, with example 2's file: its format and brightness.
fresh_example capture-at-start/Framewright.ini
run_batch cli/capture.cmd
check_eq "5 capture: exit code" "0" "$CLI_EXIT"
check_eq "5 capture: the picture in the stored format" \
    'camera 1: 1280x720 image written to C:\Images\Part.bmp' "$(printf '%s\n' "$CLI_OUT" | tail -1)"
check_image "5 capture: a frame at 1280 x 720 with the applied brightness" "$IMAGES/Part.bmp" 1280 720 150
check_eq "5 capture: the settings file left as it was" \
    "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

# --- 6. The series script: counted names on from Counter.txt; a failure stops it with its code.
fresh_example print-key/Framewright.ini
run_batch cli/series.cmd 3
check_eq "6 series 3: exit code" "0" "$CLI_EXIT"
check_eq "6 series 3: three counted pictures and the counter" \
    "Counter.txt Part000001.bmp Part000002.bmp Part000003.bmp" "$(pictures)"
run_batch cli/series.cmd 2
check_eq "6 series 2: exit code" "0" "$CLI_EXIT"
check_eq "6 series 2: the numbers go on" \
    "Counter.txt Part000001.bmp Part000002.bmp Part000003.bmp Part000004.bmp Part000005.bmp 5" \
    "$(pictures) $(tr -d '\r\n ' <"$IMAGES/Counter.txt")"
for n in 1 2 3 4 5; do
    check_image "6 series: picture $n is a frame with the applied brightness" \
        "$IMAGES/Part00000$n.bmp" 1920 1080 150
done
run_batch cli/series.cmd
check_eq "6 series without a count: exit code 2 and the usage" "2 usage: series COUNT" \
    "$CLI_EXIT $CLI_OUT"
rm -rf "$IMAGES"
run_batch cli/series.cmd 1
check_eq "6 series into a missing folder: capture's exit code 6 passed on" "6" "$CLI_EXIT"

# --- Recovery from "Camera configuration changed" by FramewrightCli save (the section's text).
fresh_example apply-and-exit/Framewright.ini
sed -i 's/^Name=Parvanex Virtual Camera\r$/Name=Parvanex Camera Of Another Line\r/' \
    "$E2E_WORK/Framewright.ini"
e2e_start_tool
check_eq "recovery: the start with another camera's file asks" \
    "$(printf '0\tPlease restore the previous Camera Config or delete Framewright.ini File')" \
    "$(d wait-box "Camera configuration changed" 120000)"
d answer-box "Camera configuration changed" 1 >/dev/null
e2e_wait_exit 60
check_eq "recovery: the box ends the tool with code 0" "0" "$E2E_EXIT"
cli save
check_eq "recovery: FramewrightCli save" "0 1 camera saved to" "$CLI_EXIT $(printf '%s' "$CLI_OUT" | cut -d' ' -f1-4)"
check_eq "recovery: the camera's name stored, the options kept" \
    "Name=Parvanex Virtual Camera InitAndExit=1 ImageSavePath=C:\Images\Part.bmp" \
    "$(grep -a '^Name=' "$E2E_WORK/Framewright.ini" | tr -d '\r') InitAndExit=$(setting InitAndExit) ImageSavePath=$(setting ImageSavePath)"
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
e2e_wait_exit 120
check_eq "recovery: the next start passes the check and applies (InitAndExit), code 0" "0" "$E2E_EXIT"
check_true "recovery: it wrote the stored section to the camera" log_has 'cameracontrol set id=6 '
e2e_end
