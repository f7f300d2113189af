#!/usr/bin/env bash
# Cameras arriving and leaving while the tool runs: the rescan's progress texts (recorded inside
# the tool while the rescan keeps its thread busy), paced 30 ms after an arrival and 10 ms after a
# removal; the selection buttons relabelled, shown and hidden; the status bar ending with the last
# camera's label; no record applied to a camera; and the panel disabled when the last one leaves.
. "$(dirname "$0")/panel_lib.sh"
e2e_require "$WINDOWS_BUILD/status_hook.dll"
e2e_begin rescan one.cfg
status_log=$FRAMEWRIGHT_STATUS_LOG

# progress_texts FINAL...: the texts of one rescan: the first notice, 0 to 100 %, then FINAL ones.
progress_texts() {
    echo "Please Wait while scanning Cameras"
    local n
    for n in $(seq 0 100); do echo "Please Wait while scanning Cameras: $n % finished"; done
    printf '%s\n' "$@"
}
recorded_texts() { cut -f2- "$status_log"; }
# progress_ms: the time from the 0 % text to the 100 % text.
progress_ms() {
    awk -F'\t' '$2 ~ /: 0 % finished$/ {a=$1} $2 ~ /: 100 % finished$/ {b=$1} END {print b-a}' "$status_log"
}
# buttons: "id visible check caption" of the six selection buttons, Camera 1 first.
buttons() {
    d controls "$TITLE" | awk -F'\t' '$1>=2047 && $1<=2052 {print $1, $10, $12, $3}' | sort -r
}
hidden_from() {
    local id
    for id in $(seq "$1" -1 2047); do echo "$id 0 0 Camera $((2053 - id))"; done
}

e2e_start_tool
wait_started
log_mark
: >"$status_log"

# A second camera arrives.
e2e_plug pair.cfg
check_eq "arrival: the progress texts, then both labels" \
    "$(progress_texts "Camera 1: Parvanex Virtual Camera" "Camera 2: Parvanex Second Camera")" \
    "$(recorded_texts)"
check_true "arrival: paced at 30 ms (0 to 100 % took $(progress_ms) ms)" test "$(progress_ms)" -ge 2950
check_eq "arrival: the status bar ends with the last camera's label" "Camera 2: Parvanex Second Camera" \
    "$(d status "$TITLE")"
check_eq "arrival: two buttons labelled and shown, Camera 1 selected" "2052 1 1 Camera 1: Parvanex Virtual Camera
2051 1 0 Camera 2: Parvanex Second Camera
$(hidden_from 2050)" "$(buttons)"
check_eq "arrival: nothing written to a camera" "" "$(writes_since_mark)"

# The second camera can be selected and receives the slider.
d click "$TITLE" 2051 >/dev/null
check_eq "Camera 2 selected: its label" "Camera 2: Parvanex Second Camera" "$(d status "$TITLE")"
log_mark
d slide "$TITLE" 2043 60 >/dev/null
check_eq "Camera 2 selected: the slider reaches it" "cam=1 procamp set id=0 value=60 flags=2 hr=0x00000000" \
    "$(writes_since_mark)"

# The first camera leaves while the second is selected: the second becomes Camera 1, checked, and
# its old button is hidden and unchecked. The settings file names another camera for slot 0, which
# the rescan does not report.
log_mark
: >"$status_log"
e2e_unplug 0
check_eq "removal: the progress texts, then the one label" \
    "$(progress_texts "Camera 1: Parvanex Second Camera")" "$(recorded_texts)"
check_true "removal: paced at 10 ms (0 to 100 % took $(progress_ms) ms)" \
    test "$(progress_ms)" -ge 950 -a "$(progress_ms)" -lt 2000
check_eq "removal: Camera 1 relabelled and selected, the rest hidden" \
    "2052 1 1 Camera 1: Parvanex Second Camera
2051 0 0 Camera 2: Parvanex Second Camera
$(hidden_from 2050)" "$(buttons)"
# The notice was sent: the rescan's handler has returned, so a box it opened would still be open.
check_true "removal: no configuration-changed box" refused wait-box "Camera configuration changed" 0
check_eq "removal: nothing written to a camera" "" "$(writes_since_mark)"
log_mark
d slide "$TITLE" 2042 10 >/dev/null
check_eq "removal: the slider reaches the remaining camera" \
    "cam=1 procamp set id=1 value=10 flags=2 hr=0x00000000" "$(writes_since_mark)"

# The last camera leaves: only Exit and the status bar are left to the operator.
: >"$status_log"
e2e_unplug 1
check_eq "last removal: the progress texts, then the no-camera text" \
    "$(progress_texts "No Parvanex Camera detected, please attach a Parvanex Webcam")" "$(recorded_texts)"
check_eq "last removal: every selection button hidden" "0 0 0 0 0 0" \
    "$(controls_field 10 2052 2051 2050 2049 2048 2047)"
check_eq "last removal: camera controls disabled, Exit enabled" "0 0 0 0 0 0 0 0 0 1" \
    "$(controls_field 11 2000 2001 2008 2010 2065 2043 2034 2058 2044 2009)"
check_true "last removal: a slider cannot be moved" refused slide "$TITLE" 2043 100

check_eq "Exit after the slider moves asks" "$(printf 'Orvisto Settings\tExit Saving Changes')" \
    "$(press_answered 2009 7)"
e2e_wait_exit 30
check_eq "exit code" "0" "$E2E_EXIT"
e2e_end
