#!/usr/bin/env bash
# The panel at work, driven from outside: every slider, the automatic check boxes, the LED,
# power-line and camera-mode radio buttons reach the camera with the expected value and flags, the
# status bar shows the values as the tool words them, and the "Event" boxes of the check boxes
# appear with their texts. One start of a camera whose picture properties can all be automatic.
. "$(dirname "$0")/panel_lib.sh"
e2e_begin panel_controls panel.cfg

e2e_start_tool
wait_started
# A first start shows the camera's own values: automatic white balance, exposure and focus, the
# camera mode "Auto" and the automatic LED.
check_eq "at start: white balance, exposure, focus boxes checked; Auto, not Manual" "1 1 1 1 0" \
    "$(controls_field 12 2019 2022 2023 2045 2044)"

# slide_reaches ID POSITION STATUS WRITES: one slider movement, its status text and the camera's
# writes.
slide_reaches() {
    log_mark
    d slide "$TITLE" "$1" "$2" >/dev/null
    check_eq "slider $1 to $2: status" "$3" "$(d status "$TITLE")"
    check_eq "slider $1 to $2: written to the camera" "$4" "$(writes_since_mark)"
}

ok=' hr=0x00000000'
slide_reaches 2043 200 "Brightness Value: 200" "cam=0 procamp set id=0 value=200 flags=2$ok"
check_eq "the brightness slider puts the camera mode to Manual" "0 1" "$(controls_field 12 2045 2044)"
slide_reaches 2042 77 "Contrast Value: 77" "cam=0 procamp set id=1 value=77 flags=2$ok"
slide_reaches 2041 90 "Saturation Value: 90" "cam=0 procamp set id=3 value=90 flags=2$ok"
slide_reaches 2040 12 "Sharpness Value: 12" "cam=0 procamp set id=4 value=12 flags=2$ok"
slide_reaches 2038 1 "BackLight Compensation Value: 1" "cam=0 procamp set id=8 value=1 flags=2$ok"
slide_reaches 2037 42 "Gain Value: 42" "cam=0 procamp set id=9 value=42 flags=2$ok"
# The white balance slider spans 0..10000 whatever the camera takes (here 2800..6500): a value the
# camera refuses is still shown.
slide_reaches 2039 7000 "White Balance Value: 7000" \
    "cam=0 procamp set id=7 value=7000 flags=2 hr=0x80070057"
slide_reaches 2039 5000 "White Balance Value: 5000" "cam=0 procamp set id=7 value=5000 flags=2$ok"
check_eq "the white balance slider unchecks its automatic box" "0" "$(controls_field 12 2019)"
slide_reaches 2036 151 "Zoom Value: 152" "cam=0 vendor set id=3 words=0,0,0,152$ok"
slide_reaches 2035 3 "Exposure Time Value: 0.0003 seconds" "cam=0 vendor set id=5 words=2,0,0,3$ok"
slide_reaches 2035 10000 "Exposure Time Value: 1.0000 seconds" \
    "cam=0 vendor set id=5 words=2,0,0,10000$ok"
slide_reaches 2035 500 "Exposure Time Value: 0.0500 seconds" "cam=0 vendor set id=5 words=2,0,0,500$ok"
check_eq "the exposure slider unchecks its automatic box" "0" "$(controls_field 12 2022)"
slide_reaches 2034 200 "Focus Value: 200" "cam=0 cameracontrol set id=6 value=200 flags=2$ok"
check_eq "the focus slider unchecks its automatic box" "0" "$(controls_field 12 2023)"

# click_reaches ID WHAT WRITES: a click whose handler opens no box (the click is answered at once,
# not "handler still running") and the camera's writes.
click_reaches() {
    log_mark
    check_eq "$2: answered without a box" "clicked $1" "$(d click "$TITLE" "$1")"
    check_eq "$2: written to the camera" "$3" "$(writes_since_mark)"
}

click_reaches 2019 "white balance box checked" "cam=0 procamp set id=7 value=4000 flags=1$ok"
click_reaches 2019 "white balance box unchecked: the slider's value, manual" \
    "cam=0 procamp set id=7 value=5000 flags=2$ok"
click_reaches 2023 "focus box checked" "cam=0 cameracontrol set id=6 value=128 flags=1$ok"
click_reaches 2023 "focus box unchecked: the slider's value, manual" \
    "cam=0 cameracontrol set id=6 value=200 flags=2$ok"

# The exposure box shows its box before it writes anything; unchecking it shows none.
log_mark
d press "$TITLE" 2022 >/dev/null
check_eq "exposure box checked: its box" "$(printf 'Orvisto Settings\tthe checkbox IDC_CKEXPTIM is checked.')" \
    "$(d wait-box Event 10000)"
check_eq "exposure box checked: nothing written while the box is open" "" "$(writes_since_mark)"
d answer-box Event 1 >/dev/null
d wait-no-box Event 10000 >/dev/null
d status "$TITLE" >/dev/null
check_eq "exposure box checked: the time in automatic mode, then automatic exposure" \
    "cam=0 vendor set id=5 words=1,0,0,500$ok
cam=0 cameracontrol set id=4 value=-6 flags=1$ok
cam=0 cameracontrol set id=19 value=1 flags=1$ok" "$(writes_since_mark)"
click_reaches 2022 "exposure box unchecked" "cam=0 cameracontrol set id=4 value=-6 flags=2$ok
cam=0 vendor set id=5 words=2,0,0,500$ok
cam=0 cameracontrol set id=19 value=0 flags=2$ok
cam=0 vendor set id=5 words=2,0,0,500$ok"

# The other automatic boxes only show their box, worded after the new check mark.
log_mark
for box in 2024:IDC_CKBRIGHT 2016:IDC_CKCONTRA 2017:IDC_CKSATURA 2018:IDC_CKSHARPN \
    2020:IDC_CKBACKCO 2021:IDC_CKGAIN; do
    id=${box%%:*}
    name=${box#*:}
    check_eq "$name checked: its box" "$(printf 'Orvisto Settings\tthe checkbox %s is checked.' "$name")" \
        "$(press_answered "$id" 1)"
    check_eq "$name unchecked: its box" "$(printf 'Orvisto Settings\tthe checkbox %s is unchecked.' "$name")" \
        "$(press_answered "$id" 1)"
done
check_eq "the six boxes are unchecked again" "0 0 0 0 0 0" "$(controls_field 12 2024 2016 2017 2018 2020 2021)"
check_eq "the six boxes wrote nothing to the camera" "" "$(writes_since_mark)"
# The zoom cannot be automatic: its box stays disabled, and only a command sent to the window
# (not an operator's click) reaches its handler.
check_eq "the zoom box is disabled" "0" "$(controls_field 11 2033)"
check_true "a disabled zoom box cannot be pressed" refused press "$TITLE" 2033
d post "$TITLE" 0x111 2033 0 >/dev/null
check_eq "IDC_CKZOOM command: its box" "$(printf 'Orvisto Settings\tthe checkbox IDC_CKZOOM is unchecked.')" \
    "$(d wait-box Event 10000)"
d answer-box Event 1 >/dev/null
d wait-no-box Event 10000 >/dev/null

# LED and power line: each radio button writes its code.
click_reaches 2060 "LED Const On" "cam=0 vendor set id=7 words=0,0,0,1,0$ok"
click_reaches 2058 "LED Const Off" "cam=0 vendor set id=7 words=0,0,0,0,0$ok"
click_reaches 2059 "LED Automatic" "cam=0 vendor set id=7 words=0,0,0,3,0$ok"
click_reaches 2056 "60 Hz" "cam=0 procamp set id=13 value=2 flags=2$ok"
click_reaches 2054 "power line compensation off" "cam=0 procamp set id=13 value=0 flags=2$ok"
click_reaches 2055 "50 Hz" "cam=0 procamp set id=13 value=1 flags=2$ok"

# Camera mode Manual: manual exposure with the slider's time and a fixed frame rate, then the
# whole record as the panel left it (LED "Automatic" from the panel is written as mode 3; white
# balance is written since its box is unchecked).
manual_exposure="cam=0 cameracontrol set id=4 value=-6 flags=2$ok
cam=0 vendor set id=5 words=2,0,0,500$ok
cam=0 cameracontrol set id=19 value=0 flags=2$ok"
automatic_exposure="cam=0 cameracontrol set id=4 value=-6 flags=1$ok
cam=0 cameracontrol set id=19 value=1 flags=1$ok"
record_after_brightness="cam=0 procamp set id=1 value=77 flags=2$ok
cam=0 procamp set id=3 value=90 flags=2$ok
cam=0 procamp set id=4 value=12 flags=2$ok
cam=0 procamp set id=7 value=5000 flags=2$ok
cam=0 procamp set id=8 value=1 flags=2$ok
cam=0 procamp set id=9 value=42 flags=2$ok
cam=0 vendor set id=3 words=0,0,0,152$ok
cam=0 vendor set id=5 words=2,0,0,500$ok
cam=0 cameracontrol set id=6 value=200 flags=2$ok"
click_reaches 2044 "camera mode Manual" "$manual_exposure
cam=0 procamp set id=13 value=1 flags=2$ok
cam=0 vendor set id=7 words=0,0,0,3,0$ok
cam=0 procamp set id=0 value=200 flags=2$ok
$manual_exposure
$record_after_brightness"
check_eq "Manual checked, Auto not" "1 0" "$(controls_field 12 2044 2045)"
# Camera mode Auto: automatic exposure, the ranges refreshed, the record applied with automatic
# exposure before the brightness (the LED, already automatic, is not written again).
click_reaches 2045 "camera mode Auto" "$automatic_exposure
cam=0 procamp set id=13 value=1 flags=2$ok
$automatic_exposure
cam=0 procamp set id=0 value=200 flags=2$ok
$record_after_brightness"
check_eq "Auto checked, Manual not" "1 0" "$(controls_field 12 2045 2044)"
# The refresh puts the sliders to the camera's range defaults (the exposure to the camera's time)
# and checks every box whose property can be automatic; the exposure box follows the camera's
# vendor exposure mode, which the last write left manual.
check_eq "after Auto: sliders at the range defaults" "100 40 70 20 4000 1 8 100 500 120" \
    "$(controls_field 15 2043 2042 2041 2040 2039 2038 2037 2036 2035 2034)"
check_eq "after Auto: automatic boxes (enabled, checked)" "1 1 1 1 1 1 1 1 1 1 1 1 1 1 0 0 0 0 1 1" \
    "$(for id in 2024 2016 2017 2018 2019 2020 2021 2033 2022 2023; do control "$id"; done |
        awk '{print $2, $3}' | paste -sd ' ')"

d close "$TITLE" >/dev/null
check_eq "the close asks about the changes" "$(printf 'Orvisto Settings\tExit Saving Changes')" \
    "$(d wait-box Event 10000)"
d answer-box Event 7 >/dev/null
e2e_wait_exit 30
check_eq "exit code" "0" "$E2E_EXIT"
e2e_end
