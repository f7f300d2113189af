#!/usr/bin/env bash
# Steps shared by the tests of the panel at work: waiting for start-up to finish, the camera's
# writes since a mark, one control's state, and clicks whose handler opens an "Event" box.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

# wait_started: the window is there and start-up has applied the record; its last write is the
# focus, so the handlers run from now on and the settings file holds what the load left in it.
wait_started() {
    check_true "the window appears" d wait-window "$TITLE" 120000 >/dev/null
    local tries=0
    until grep -aq 'cameracontrol set id=6 ' "$FRAMEWRIGHT_VCAM_LOG"; do
        tries=$((tries + 1))
        [ "$tries" -gt 200 ] && break
        sleep 0.1
    done
    check_true "start-up applied the record" grep -aq 'cameracontrol set id=6 ' "$FRAMEWRIGHT_VCAM_LOG"
}

# log_mark, then writes_since_mark: the write requests (accepted or refused) that the camera logged
# after the mark, without their process and time fields.
log_mark() { E2E_LOG_MARK=$(wc -l <"$FRAMEWRIGHT_VCAM_LOG"); }
writes_since_mark() {
    tail -n +$((E2E_LOG_MARK + 1)) "$FRAMEWRIGHT_VCAM_LOG" | grep -a ' set ' |
        sed -E 's/ pid=[0-9]+ t=[0-9]+\r?$//'
}

# refused ARGS...: true when the driver command fails, as it does for a control an operator could
# not reach (hidden or disabled).
refused() { ! d "$@" >/dev/null 2>&1; }

# control ID: "visible enabled check position" of one control (check and position "-" where the
# control has none).
control() {
    d controls "$TITLE" | awk -F'\t' -v id="$1" '$1==id {print $10, $11, $12, $15}'
}

# controls_field COLUMN ID...: one column of the controls listing for several controls, in the
# order given, on one line (10 visible, 11 enabled, 12 check, 15 trackbar position, 3 caption).
controls_field() {
    local column=$1
    shift
    d controls "$TITLE" >"$E2E_TMP/fields.tsv"
    local id
    for id in "$@"; do
        awk -F'\t' -v id="$id" -v c="$column" '$1==id {print $c}' "$E2E_TMP/fields.tsv"
    done | paste -sd ' '
}

# press_answered ID BUTTON: presses a button whose handler opens an "Event" box, prints the box as
# "OWNER<tab>TEXT", answers it with BUTTON (1 OK, 6 Yes, 7 No) and waits until the handler is back
# in the message loop (the status request is answered only there), or until the tool has ended.
press_answered() {
    d press "$TITLE" "$1" >/dev/null || return 1
    d wait-box Event 10000 || return 1
    d answer-box Event "$2" >/dev/null
    d wait-no-box Event 10000 >/dev/null
    d status "$TITLE" >/dev/null 2>&1
    return 0
}
