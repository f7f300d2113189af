#!/usr/bin/env bash
# InitAndExit 1: the stored record reaches the camera and the tool ends with code 0 right after
# the focus write, before its message loop runs.
. "$(dirname "$0")/capture_lib.sh"
e2e_begin init_and_exit one.cfg

# A complete file for the camera with a manual record that differs from the camera's values.
write_settings "${MANUAL_RECORD[@]}"
cp "$E2E_WORK/Framewright.ini" "$E2E_TMP/before.ini"
e2e_start_tool
e2e_wait_exit 60
check_eq "exit code" "0" "$E2E_EXIT"
expected='cam=0 procamp set id=13 value=2 flags=2 hr=0x00000000
cam=0 vendor set id=7 words=0,0,0,1,0 hr=0x00000000
cam=0 procamp set id=0 value=90 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=2 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=19 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=40 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=70 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=30 flags=2 hr=0x00000000
cam=0 procamp set id=7 value=5000 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=1 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=12 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,152 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=1 hr=0x00000000'
check_eq "the record applied in the tool's order, ending with automatic focus" "$expected" "$(camera_log ' set ')"
check_eq "the camera's state keeps the applied values" "cam=0 procamp id=0 words=90,2" \
    "$(grep -a 'procamp id=0 ' "$FRAMEWRIGHT_VCAM_STATE" | tr -d '\r')"
check_eq "the settings file is left as it was" "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
check_eq "no window was left behind" "" "$(d wait-window "$TITLE" 100 2>/dev/null)"
e2e_end
