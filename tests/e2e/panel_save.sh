#!/usr/bin/env bash
# Saving from the panel: "Save Settings" writes the changed keys and nothing else, the exit
# question after a change (No writes nothing, Yes writes the change), no question when nothing is
# left unsaved, and "Reset Default Values", which puts the camera's range defaults on the panel and
# to the camera without counting as a change.
. "$(dirname "$0")/panel_lib.sh"
e2e_begin panel_save panel.cfg
ini=$E2E_WORK/Framewright.ini
ok=' hr=0x00000000'

# with_keys FILE KEY=VALUE...: FILE with those keys' values replaced (keys of the camera section
# and of General alike), as the expected file after a save.
with_keys() {
    local file=$1 pair
    shift
    cp "$file" "$E2E_TMP/with_keys.ini"
    for pair in "$@"; do
        sed -i -E "s/^${pair%%=*}=[^\r]*\r\$/${pair}\r/" "$E2E_TMP/with_keys.ini"
    done
    bytes_of "$E2E_TMP/with_keys.ini"
}

# A first start writes the camera's values; four changes, then "Save Settings".
e2e_start_tool
wait_started
cp "$ini" "$E2E_TMP/first.ini"
d slide "$TITLE" 2043 200 >/dev/null
d slide "$TITLE" 2037 42 >/dev/null
d click "$TITLE" 2060 >/dev/null
d click "$TITLE" 2056 >/dev/null
check_eq "before the save the file is as the start left it" "$(bytes_of "$E2E_TMP/first.ini")" "$(bytes_of "$ini")"
d click "$TITLE" 2008 >/dev/null
check_eq "Save Settings: the changed keys written, nothing else" \
    "$(with_keys "$E2E_TMP/first.ini" Brightness=200 Gain=42 LEDInfo=1 PowerScheme=2 FlagAutomatic=0)" \
    "$(bytes_of "$ini")"
cp "$ini" "$E2E_TMP/saved.ini"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "after the save the close asks nothing and ends the tool" "0" "$E2E_EXIT"
check_eq "the close wrote nothing" "$(bytes_of "$E2E_TMP/saved.ini")" "$(bytes_of "$ini")"

# The next start shows what was saved; "Reset Default Values" then writes the camera's range
# defaults and shows them.
log_mark
e2e_start_tool
wait_started
check_eq "the saved record on the panel: brightness and gain sliders, Const On, 60 Hz, Manual" \
    "200 42 1 1 1" "$(printf '%s %s' "$(controls_field 15 2043 2037)" "$(controls_field 12 2060 2056 2044)")"
cp "$ini" "$E2E_TMP/loaded.ini"
log_mark
d click "$TITLE" 2010 >/dev/null
# Automatic exposure first; the camera still reports the manual vendor exposure mode that start-up
# wrote, so the camera mode stays Manual and the record is applied with manual exposure.
check_eq "Reset Default Values: the defaults written" \
    "cam=0 cameracontrol set id=4 value=-6 flags=1$ok
cam=0 cameracontrol set id=19 value=1 flags=1$ok
cam=0 procamp set id=13 value=2 flags=2$ok
cam=0 vendor set id=7 words=0,0,0,3,0$ok
cam=0 procamp set id=0 value=100 flags=2$ok
cam=0 cameracontrol set id=4 value=-6 flags=2$ok
cam=0 vendor set id=5 words=2,0,0,333$ok
cam=0 cameracontrol set id=19 value=0 flags=2$ok
cam=0 procamp set id=1 value=40 flags=2$ok
cam=0 procamp set id=3 value=70 flags=2$ok
cam=0 procamp set id=4 value=20 flags=2$ok
cam=0 procamp set id=8 value=1 flags=2$ok
cam=0 procamp set id=9 value=8 flags=2$ok
cam=0 vendor set id=3 words=0,0,0,100$ok
cam=0 vendor set id=5 words=2,0,0,333$ok
cam=0 cameracontrol set id=6 value=120 flags=2$ok" "$(writes_since_mark)"
check_eq "Reset Default Values: sliders at the range defaults" "100 40 70 20 4000 1 8 100 333 120" \
    "$(controls_field 15 2043 2042 2041 2040 2039 2038 2037 2036 2035 2034)"
check_eq "Reset Default Values: the automatic boxes checked where the camera allows automatic" \
    "1 1 1 1 1 1 1 0 0 1" "$(controls_field 12 2024 2016 2017 2018 2019 2020 2021 2033 2022 2023)"
check_eq "Reset Default Values: the exposure box disabled (manual vendor mode)" "0" "$(controls_field 11 2022)"
check_eq "Reset Default Values: LED Automatic, 60 Hz, Manual" "1 0 0 1 1 0" \
    "$(controls_field 12 2059 2060 2058 2056 2044 2045)"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "a reset is no change: the close asks nothing" "0" "$E2E_EXIT"
check_eq "a reset writes nothing to the file" "$(bytes_of "$E2E_TMP/loaded.ini")" "$(bytes_of "$ini")"

# A change, the close box and No: nothing is written.
log_mark
e2e_start_tool
wait_started
cp "$ini" "$E2E_TMP/before_no.ini"
d slide "$TITLE" 2042 50 >/dev/null
d close "$TITLE" >/dev/null
check_eq "the close box asks" "$(printf 'Orvisto Settings\tExit Saving Changes')" "$(d wait-box Event 10000)"
d answer-box Event 7 >/dev/null
e2e_wait_exit 30
check_eq "No: the tool ends" "0" "$E2E_EXIT"
check_eq "No: nothing written" "$(bytes_of "$E2E_TMP/before_no.ini")" "$(bytes_of "$ini")"

# A change, the Exit button and Yes: the record is written as it stands. The start applied the
# stored Manual mode, which also cleared the automatic exposure flag.
log_mark
e2e_start_tool
wait_started
cp "$ini" "$E2E_TMP/before_yes.ini"
d slide "$TITLE" 2042 50 >/dev/null
check_eq "the Exit button asks" "$(printf 'Orvisto Settings\tExit Saving Changes')" "$(press_answered 2009 6)"
e2e_wait_exit 30
check_eq "Yes: the tool ends" "0" "$E2E_EXIT"
check_eq "Yes: the change written" "$(with_keys "$E2E_TMP/before_yes.ini" Contrast=50 FlagExposureTime=0)" \
    "$(bytes_of "$ini")"
e2e_end
