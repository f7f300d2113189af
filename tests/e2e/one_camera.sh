#!/usr/bin/env bash
# One virtual camera: its label and status text, a first start that stores the camera's own
# values (those of the camera's configuration), and a second start that applies them back in the
# tool's order and adds the two options of a second start.
. "$(dirname "$0")/capture_lib.sh"
e2e_begin one_camera one.cfg

e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_eq "label of the first selection button" "Camera 1: Parvanex Virtual Camera" "$(d text "$TITLE" 2052)"
check_eq "status text" "Camera 1: Parvanex Virtual Camera" "$(d status "$TITLE")"
d controls "$TITLE" >"$E2E_TMP/controls.tsv"
check_eq "Preview enabled, selection buttons 2 to 6 hidden" "2000 1 1;2047 0 1;2051 0 1" \
    "$(awk -F'\t' '$1==2000||$1==2051||$1==2047 {print $1, $10, $11}' "$E2E_TMP/controls.tsv" | sort | paste -sd ';')"
# The sliders show the camera's values: brightness 128 in its range 0..255, white balance 4000 in
# the fixed range of its slider.
check_eq "brightness slider" "0 255 128" "$(awk -F'\t' '$1==2043 {print $13, $14, $15}' "$E2E_TMP/controls.tsv")"
check_eq "white balance slider" "0 10000 4000" "$(awk -F'\t' '$1==2039 {print $13, $14, $15}' "$E2E_TMP/controls.tsv")"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "exit code after the close request" "0" "$E2E_EXIT"

SETTINGS_FILE=$E2E_TMP/first.ini FIRST_START=1 write_settings
check_eq "Framewright.ini of a first start: the camera's values, in the order of a first start" \
    "$(bytes_of "$E2E_TMP/first.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

# The second start must write the stored record back in the tool's order, and nothing else.
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
check_true "the window appears again" d wait-window "$TITLE" 120000 >/dev/null
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "second start: exit code" "0" "$E2E_EXIT"
expected_apply='cam=0 procamp set id=13 value=1 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=1 hr=0x00000000
cam=0 cameracontrol set id=19 value=1 flags=1 hr=0x00000000
cam=0 procamp set id=0 value=128 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=32 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=64 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=24 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=0 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,100 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,333 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=2 hr=0x00000000'
check_eq "second start: the stored record applied in order (LED 3 and automatic white balance not written)" \
    "$expected_apply" "$(camera_log ' set ')"
SETTINGS_FILE=$E2E_TMP/second.ini write_settings
check_eq "second start: IncrementImageName and InitAndExit appended to General" \
    "$(bytes_of "$E2E_TMP/second.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
e2e_end
