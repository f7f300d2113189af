#!/usr/bin/env bash
# FramewrightCli.exe with two virtual cameras: list; a set and a get seen in the camera's log; apply
# making the requests of the window program's InitAndExit start from the same file and writing
# nothing; save writing what a first start writes, which the window program then loads without a
# question; and the exit codes 0, 2, 3, 4 and 5. (Capture: cli_capture.sh.)
. "$(dirname "$0")/cli_lib.sh"
e2e_require "$E2E_CLI"
e2e_begin cli pair.cfg

# --- list
cli list
check_eq "list: exit code" "0" "$CLI_EXIT"
check_eq "list: both cameras in the platform's order" \
    "$(printf '1  Parvanex Virtual Camera\n2  Parvanex Second Camera')" "$CLI_OUT"
cli list --json
check_eq "list --json: a document a script parses" \
    '[{"camera": 1, "name": "Parvanex Virtual Camera"}, {"camera": 2, "name": "Parvanex Second Camera"}]' \
    "$(json_value)"
check_eq "list asks no property" "" "$(property_requests)"

# --- set, then get in another process: the values the camera holds
: >"$FRAMEWRIGHT_VCAM_LOG"
cli set --camera 2 Brightness=90 zoom=151 LEDInfo=on WhiteBalance=auto
check_eq "set: exit code" "0" "$CLI_EXIT"
check_eq "set: what it did" "$(printf 'camera 2: Brightness=90\ncamera 2: Zoom=152 (151 raised to even)\ncamera 2: LEDInfo=on\ncamera 2: WhiteBalance=auto')" "$CLI_OUT"
check_eq "set: one request per value, in the order given, to the second camera" \
    'cam=1 procamp set id=0 value=90 flags=2 hr=0x00000000
cam=1 vendor set id=3 words=0,0,0,152 hr=0x00000000
cam=1 vendor set id=7 words=0,0,0,1,0 hr=0x00000000
cam=1 procamp set id=7 value=4000 flags=1 hr=0x00000000' "$(property_requests)"
: >"$FRAMEWRIGHT_VCAM_LOG"
cli get --camera 2 --json Brightness Zoom LEDInfo WhiteBalance
check_eq "get: exit code" "0" "$CLI_EXIT"
check_eq "get: the values set" '90 152 "on" true' \
    "$(json_value Brightness value) $(json_value Zoom value) $(json_value LEDInfo value) $(json_value WhiteBalance automatic)"
check_eq "get: the brightness range as the camera reports it" '0 255 1 128 true' \
    "$(json_value Brightness minimum) $(json_value Brightness maximum) $(json_value Brightness step) $(json_value Brightness default) $(json_value Brightness canBeAutomatic)"
check_eq "get: the reads in the camera's log, the values among them" \
    'cam=1 procamp get id=0 value=90 flags=2 hr=0x00000000
cam=1 procamp range id=0 min=0 max=255 step=1 default=128 caps=3 hr=0x00000000
cam=1 vendor get id=3 words=0,0,0,152 hr=0x00000000
cam=1 vendor get id=7 words=0,0,0,1,0 hr=0x00000000
cam=1 procamp get id=7 value=4000 flags=1 hr=0x00000000
cam=1 procamp range id=7 min=2800 max=6500 step=1 default=4000 caps=3 hr=0x00000000' \
    "$(property_requests)"
cli get
check_eq "get: the text table for the first camera" \
    "Camera 1: Parvanex Virtual Camera|Brightness 128 no 0 255 1 128 yes" \
    "$(printf '%s\n' "$CLI_OUT" | sed -n '1p;/^Brightness /p' | tr -s ' ' | paste -sd '|')"

# --- refusals and wrong calls
: >"$FRAMEWRIGHT_VCAM_LOG"
cli set Brightness=300 Contrast=40
check_eq "a refused value: exit code 4" "4" "$CLI_EXIT"
check_eq "a refused value: named with the camera's result" \
    "FramewrightCli: camera 1 refused Brightness=300: 0x80070057" "$CLI_ERR"
check_eq "a refused value: the next one is still written" \
    "cam=0 procamp set id=1 value=40 flags=2 hr=0x00000000" "$(property_requests | grep 'id=1 ')"
cli set Bogus=1
check_eq "an unknown property: exit code 2" "2" "$CLI_EXIT"
check_eq "an unknown property: the problem and the usage line" \
    "$(printf "FramewrightCli: unknown property 'Bogus'\nusage: FramewrightCli set [--camera N] PROPERTY=VALUE ...")" \
    "$(printf '%s\n' "$CLI_ERR" | head -2)"
cli get --camera 7
check_eq "--camera 7: exit code 2" "2" "$CLI_EXIT"
cli get --camera 3
check_eq "a third camera of two: exit code 3" "3" "$CLI_EXIT"
check_eq "a third camera of two: the message" "FramewrightCli: no camera 3: 2 cameras found" "$CLI_ERR"
cli --version
check_eq "--version: the project's version" \
    "FramewrightCli ${FRAMEWRIGHT_PROJECT_VERSION:?passed by tests/e2e/CMakeLists.txt}" "$CLI_OUT"

# --- apply and the window program's InitAndExit start on the same file
write_settings NumberOfCameras=2 "${MANUAL_RECORD[@]}"
cp "$E2E_WORK/Framewright.ini" "$E2E_TMP/apply.ini"
rm -f "$FRAMEWRIGHT_VCAM_STATE"
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
e2e_wait_exit 60
check_eq "InitAndExit start: exit code" "0" "$E2E_EXIT"
# From the window program's first write on; before it, its panel read the camera's ranges.
property_requests | awk '/ set / {on = 1} on' >"$E2E_TMP/window-apply.txt"
rm -f "$FRAMEWRIGHT_VCAM_STATE"
: >"$FRAMEWRIGHT_VCAM_LOG"
cli apply
check_eq "apply: exit code, though the file says InitAndExit=1" "0" "$CLI_EXIT"
check_eq "apply: what it did" 'camera 1: [Camera0] of Z:'"$(printf '%s' "$E2E_WORK" | tr / '\\')"'\Framewright.ini applied' "$CLI_OUT"
check_true "apply: the window program's start made requests" test -s "$E2E_TMP/window-apply.txt"
check_eq "apply: the requests of the InitAndExit start, in its order" \
    "$(cat "$E2E_TMP/window-apply.txt")" "$(property_requests)"
check_eq "apply: the settings file is left as it was" \
    "$(bytes_of "$E2E_TMP/apply.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
sed -i 's/Name=Parvanex Virtual Camera/Name=Parvanex Elsewhere/' "$E2E_WORK/Framewright.ini"
cli apply
check_eq "apply of a file for other cameras: exit code 5" "5" "$CLI_EXIT"
rm -f "$E2E_WORK/Framewright.ini"
cli apply --camera 2
check_eq "apply without a settings file: exit code 5" "5" "$CLI_EXIT"

# --- save, and the window program's start with the saved file
rm -f "$FRAMEWRIGHT_VCAM_STATE"
e2e_start_tool
check_true "first start: the window appears" d wait-window "$TITLE" 120000 >/dev/null
d close "$TITLE" >/dev/null
e2e_wait_exit 30
mv "$E2E_WORK/Framewright.ini" "$E2E_TMP/first-start.ini"
# The first start applies the record it read, which leaves focus and exposure manual: the save
# reads the cameras as that start found them.
rm -f "$FRAMEWRIGHT_VCAM_STATE"
cli save
check_eq "save: exit code" "0" "$CLI_EXIT"
check_eq "save: the file a first start writes" \
    "$(bytes_of "$E2E_TMP/first-start.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
e2e_start_tool
check_true "after save: the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_eq "after save: no configuration question" "" \
    "$(d wait-box "Camera configuration changed" 2000 2>/dev/null)"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "after save: the window program ends with 0" "0" "$E2E_EXIT"
e2e_end
