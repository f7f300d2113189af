#!/usr/bin/env bash
# Steps shared by the preview, capture, unattended and Print-key tests: a settings file written
# before the start, waiting for the camera's log and for image files, checking an image against the
# camera's test pattern, and the windows of a title as the driver lists them.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

CHECK_BITMAP=$E2E_ROOT/tests/e2e/fw/bitmap.py
VIDEO_TITLE="ActiveMovie Window"

# windows_path PATH: the Unix path as the tool sees it (drive Z: is the Unix root).
windows_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# write_settings KEY=VALUE...: a complete Framewright.ini in the working folder (or in
# $SETTINGS_FILE) for the camera of one.cfg at its own values, with the General keys given
# replacing their defaults. A Camera0 key may be given as Camera0.KEY=VALUE. Without KEY=VALUE it
# is the file of a second start; with FIRST_START=1 that of a first start, which lacks
# IncrementImageName and InitAndExit.
write_settings() {
    PYTHONPATH=$E2E_ROOT/tests/e2e python3 -c '
import os, sys
from fw.settings import write_settings
write_settings(sys.argv[1], os.environ.get("FIRST_START") == "1",
               **dict(setting.split("=", 1) for setting in sys.argv[2:]))' \
        "${SETTINGS_FILE:-$E2E_WORK/Framewright.ini}" "$@"
}

# setting KEY: the value of a General key in the working folder's Framewright.ini.
setting() { grep -a "^$1=" "$E2E_WORK/Framewright.ini" | head -1 | cut -d= -f2- | tr -d '\r'; }

# wait_until SECONDS CMD...: true as soon as CMD succeeds, false when it still fails after SECONDS.
wait_until() {
    local limit=$(($1 * 10)) tries=0
    shift
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

# log_has REGEX: the camera's log has a line matching the extended regular expression.
log_has() { grep -aEq "$1" "$FRAMEWRIGHT_VCAM_LOG"; }

# mark_log, then log_since_mark REGEX: the camera's log lines after the mark that match, without
# their process and time fields.
mark_log() { E2E_LOG_MARK=$(wc -l <"$FRAMEWRIGHT_VCAM_LOG"); }
log_since_mark() {
    tail -n +$((E2E_LOG_MARK + 1)) "$FRAMEWRIGHT_VCAM_LOG" | grep -aE "$1" |
        sed -E 's/ pid=[0-9]+ t=[0-9]+\r?$//'
}

# The frames the camera delivered in the runs after the mark, summed from its "stream stop" lines.
frames_since_mark() {
    log_since_mark 'stream stop frames=' | sed -E 's/.*frames=([0-9]+).*/\1/' |
        awk '{ n += $1 } END { print n + 0 }'
}

# check_image WHAT FILE WIDTH HEIGHT BRIGHTNESS: the file is a bitmap of one frame of the camera's
# test pattern at that brightness; IMAGE_FRAME is then the frame number the image carries.
check_image() {
    local what=$1 file=$2 out
    shift 2
    check_bitmap_file "$what" "$file" "$@"
}

# check_bitmap_file WHAT FILE WIDTH HEIGHT BRIGHTNESS
check_bitmap_file() {
    local what=$1 file=$2 out
    IMAGE_FRAME=
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if [ ! -f "$file" ]; then
        echo "FAIL: $what (no file $file)"
        E2E_FAILURES=$((E2E_FAILURES + 1))
        return
    fi
    if out=$(python3 "$CHECK_BITMAP" "$file" "$3" "$4" "$5"); then
        IMAGE_FRAME=${out#frame }
        echo "ok: $what ($out)"
    else
        echo "FAIL: $what"
        echo "$out" | sed 's/^/  /'
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

# images: the bitmap files in the working folder, one line, in name order.
images() { (cd "$E2E_WORK" && ls -1 -- *.bmp 2>/dev/null | paste -sd ' '); }

# video_windows: the renderer's windows as the driver lists them: class, parent control id ("-"
# for a top-level window), the root window's title, the owner's title, style, extended style,
# left, top, width, height (in the parent's client area), client width and height, visible,
# minimised.
video_windows() { d windows "$VIDEO_TITLE"; }
# video_window COLUMNS: chosen columns of the one renderer window, or of each, one per line.
video_window() { video_windows | cut -f"$1" | tr '\t' ' '; }

# main_window_state: "normal", "minimised", "hidden" or "gone", as watch-window names them.
main_window_state() {
    d windows "$TITLE" | awk -F'\t' '$2=="-" {print ($13==0 ? "hidden" : ($14==1 ? "minimised" : "normal"))}' |
        head -1 | grep . || echo gone
}

# control_shown ID: 1 when the main window's control is visible, 0 when hidden.
control_shown() { d controls "$TITLE" | awk -F'\t' -v id="$1" '$1==id {print $10}'; }

# watch_start NAME: the main window's minimise, restore, hide and show followed in the background
# (driver.exe watch-window, straight into a file: the filter in d would hold its lines back) until
# watch_end; returns once the watcher's hook is in place inside the tool.
watch_start() {
    WATCH_FILE=$E2E_TMP/$1.txt
    WATCH_STOP=$E2E_TMP/$1.stop
    rm -f "$WATCH_STOP"
    # Emptied here, not by the background job's redirection: the wait below must not read an
    # earlier watch's lines before the job has started.
    : >"$WATCH_FILE.raw"
    ws_run "$E2E_PREFIX" 120 "$E2E_DRIVER" watch-window "$TITLE" 90000 "$(windows_path "$WATCH_STOP")" \
        >"$WATCH_FILE.raw" 2>>"$E2E_TMP/driver.err" &
    WATCH_JOB=$!
    wait_until 60 grep -q . "$WATCH_FILE.raw"
}
# watch_end: call once the tool's thread has finished what was watched (a click returned, or a
# probe timer ran after it): the watcher reports what the hook posted until then and ends. The
# states are then in $WATCH_FILE.
watch_end() {
    local rc
    : >"$WATCH_STOP"
    wait "$WATCH_JOB"
    rc=$?
    tr -d '\r' <"$WATCH_FILE.raw" >"$WATCH_FILE"
    return $rc
}

# x_wm_state: the window manager's WM_STATE of the main window's X window ("Normal", "Iconic"),
# empty while it has set none.
x_wm_state() {
    local id
    for id in $(xdotool search --name "^$TITLE\$" 2>/dev/null); do
        xprop -id "$id" WM_STATE 2>/dev/null | awk '/window state:/ {print $3; exit}'
    done | grep . | head -1
}

# The holder: a window of the driver's own that takes the keyboard focus, so that the Print key
# goes to another program than the tool, and that prints what reaches it (tests/wine).
HOLDER="Focus Holder"

# holder_start SECONDS: the holder shown for at most SECONDS in the background (HOLDER_JOB), its X
# window in HOLDER_X. Not through d: its filter of line ends would hold the holder's lines back
# until it ends. The file is emptied first: the waits must not read an earlier holder's lines
# before the background job's redirection has emptied it.
holder_start() {
    : >"$E2E_TMP/holder.txt"
    ws_run "$E2E_PREFIX" $(($1 + 30)) "$E2E_DRIVER" hold-window "$HOLDER" "$1" \
        >"$E2E_TMP/holder.txt" 2>>"$E2E_TMP/driver.err" &
    HOLDER_JOB=$!
    wait_until 60 grep -q ready "$E2E_TMP/holder.txt" &&
        HOLDER_X=$(xdotool search --name "^$HOLDER\$" | head -1) && [ -n "$HOLDER_X" ]
}

# focus_holder: the holder window activated and the pointer on it; true once the holder says it is
# the active window. HOLDER_MARK counts the holder's lines so far. Under load an activation can
# go unanswered (xdotool's --sync then waits for good), so each try is bounded and tried again.
focus_holder() {
    local try
    for try in 1 2 3; do
        timeout 20 xdotool windowactivate --sync "$HOLDER_X" mousemove --window "$HOLDER_X" 200 150 \
            2>/dev/null
        if wait_until 10 eval '[ "$(tr -d "\r" <"$E2E_TMP/holder.txt" | grep -E "^(in)?active$" | tail -1)" == active ]'; then
            HOLDER_MARK=$(wc -l <"$E2E_TMP/holder.txt")
            return 0
        fi
    done
    return 1
}

# holder_keys: the keys that reached the holder after the mark, one line.
holder_keys() {
    tail -n +$((HOLDER_MARK + 1)) "$E2E_TMP/holder.txt" | tr -d '\r' | grep -E 'key(down|up)' |
        paste -sd ' '
}

stop_holder() {
    d close "$HOLDER" >/dev/null
    wait "$HOLDER_JOB"
}

# sequence_over: true once the Print key's capture sequence has ended, i.e. the camera has been
# stopped for the review and run again after the mark.
sequence_over() {
    [ "$(log_since_mark 'filter (run|stop)' | sed 's/cam=0 filter //; s/ hr=.*//' | tail -2 |
        paste -sd ' ')" == "stop run" ]
}

# timers_passed N: returns once the tool's timers have had their turn N times over: a timer due
# within 300 ms of a probe has been handled when the probe returns, so N probes in a row let a
# timer that a timer handler starts (the Print key's, then the capture's) have its turn too.
timers_passed() {
    local n
    for ((n = 0; n < $1; n++)); do
        d wait-timers "$TITLE" 300 >/dev/null || return 1
    done
}

# states_of FILE: a watch-window log on one line: the main window's state at the start ("normal",
# "minimised" or "hidden"), then each "minimised", "restored", "hidden" and "shown" as the window
# got it. (watch-window prints "MS<tab>WHAT" lines.)
states_of() { cut -f2 "$1" | paste -sd ' '; }

# minimised_and_restored FILE: the watch saw a minimise followed by a restore, or, for a window
# that was minimised already (where a minimise changes nothing), a restore first: in both cases
# the log holds "minimised restored".
minimised_and_restored() { [[ "$(states_of "$1")" == *"minimised restored"* ]]; }

# restored_ms FILE: milliseconds from the last restore to the watch's last event, -1 without one.
restored_ms() {
    awk -F'\t' 'NR > 1 && $2=="restored" {from=$1} {last=$1} END {print (from=="" ? -1 : last-from)}' "$1"
}
