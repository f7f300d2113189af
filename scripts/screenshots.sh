#!/usr/bin/env bash
# The operator guide's screenshots (docs/operating.md): the real Framewright.exe under Wine with
# one virtual camera, on a display and in a Wine prefix of this script's own, driven from outside
# by driver.exe as the end-to-end tests drive it. Renew them after a change of the window:
#
#   bash scripts/screenshots.sh [FOLDER]        (default docs/screenshots; needs the Windows build)
#
#   no-camera.png       the window when no camera is attached
#   preview-extern.png  one camera, the preview in its own window (made smaller for the picture)
#   preview-intern.png  the preview placed inside the "Parameters" box ("Intern")
#   event-box.png       the "Event" box after a click on an automatic check box
#   exit-question.png   the "Exit Saving Changes" question after a change
#
# Each picture is taken once the window shows what it is meant to show: the driver has seen the
# state (status text, caption, box) and a timer probe inside the tool has run, which the tool's
# thread reaches only after its pending paints. The tool, the driver's wine processes, the
# prefix's wineserver, openbox and Xvfb are ended by their process ids or their prefix at the end
# (e2e_cleanup), also when a step fails.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mkdir -p "${1:-$ROOT/docs/screenshots}" && cd "${1:-$ROOT/docs/screenshots}" && pwd)
# A prefix of its own, never one a test run may be using at the same time.
export FRAMEWRIGHT_E2E_PREFIX=${FRAMEWRIGHT_SCREENSHOTS_PREFIX:-$ROOT/build/screenshots-prefix}
. "$ROOT/scripts/lib/capture_lib.sh"
e2e_begin screenshots one.cfg

fail() {
    echo "screenshots: $*" >&2
    tail -n 5 "$E2E_TMP/driver.err" >&2 2>/dev/null
    exit 1
}

# x_window TITLE: the X window of the top-level window of that title (the client, not the frame).
x_window() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }

# frame_of ID: the window manager's frame around a client window: its ancestor just below the root.
frame_of() {
    local id=$1 root parent
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    while parent=$(xwininfo -tree -id "$id" | awk '/Parent window id:/ {print $4}') &&
        [ -n "$parent" ] && [ "$parent" != "$root" ]; do
        id=$parent
    done
    echo "$id"
}

# geometry ID: "X Y WIDTH HEIGHT" of a window on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}'
}

# painted: the tool's thread has handled its pending paints (they come before any timer).
painted() { d wait-timers "$TITLE" 100 >/dev/null || fail "the tool does not answer"; }

# shoot NAME X Y WIDTH HEIGHT: that part of the screen as OUT/NAME.png, without the time stamps
# that would make an unchanged picture a changed file.
shoot() {
    import -display "$WS_DISPLAY" -window root -crop "${4}x${5}+${2}+${3}" +repage -strip \
        "$OUT/$1.png" || fail "no picture $1"
    echo "$OUT/$1.png"
}

# shoot_window NAME ID: a window with its frame.
shoot_window() {
    # shellcheck disable=SC2046
    shoot "$1" $(geometry "$(frame_of "$2")")
}

# move_frame ID X Y: the window's frame to X, Y (xdotool places the client).
move_frame() {
    local frame fx fy cx cy rest
    frame=$(frame_of "$1")
    read -r fx fy rest <<<"$(geometry "$frame")"
    read -r cx cy rest <<<"$(geometry "$1")"
    xdotool windowmove --sync "$1" $(($2 + cx - fx)) $(($3 + cy - fy))
}

# colours ID: the number of colours a window's client area shows.
colours() { import -display "$WS_DISPLAY" -window "$1" png:- 2>/dev/null | identify -format '%k' -; }

# box_over_main NAME CAPTION TEXT: a box of the tool, checked, then the main window moved under
# it so that the box sits in its middle, and the main window's frame shot with the box on it.
box_over_main() {
    local box shown mx my mw mh bx by bw bh
    shown=$(d wait-box "$2" 30000) || fail "no box \"$2\""
    [ "$shown" == "$(printf '%s\t%s' "$TITLE" "$3")" ] || fail "box \"$2\" says: $shown"
    box=$(x_window "$2")
    [ -n "$box" ] || fail "no X window for the box \"$2\""
    read -r bx by bw bh <<<"$(geometry "$(frame_of "$box")")"
    read -r mx my mw mh <<<"$(geometry "$(frame_of "$MAIN")")"
    move_frame "$MAIN" $((bx + bw / 2 - mw / 2)) $((by + bh / 2 - mh / 2))
    painted
    # shellcheck disable=SC2046
    shoot "$1" $(geometry "$(frame_of "$MAIN")")
}

# --- No camera: the camera unplugged before the start.
bash "$ROOT/vcam/prefix.sh" unplug "$E2E_PREFIX" 0 || fail "the camera could not be unplugged"
e2e_start_tool
d wait-window "$TITLE" 120000 >/dev/null || fail "no window"
[ "$(d status "$TITLE")" == "No Parvanex Camera detected, please attach a Parvanex Webcam" ] ||
    fail "the tool found a camera"
MAIN=$(x_window "$TITLE")
painted
shoot_window no-camera "$MAIN"
[[ "$(d click "$TITLE" 2009)" == "clicked 2009"* ]] || fail "Exit"
e2e_wait_exit 60

# --- One camera: a first start (no settings file); before the preview, an "Event" box: a click on
# Brightness's "Auto" box. (A stop of the preview minimises and restores the main window, and
# openbox's late answer may leave it minimised: the pictures are taken on the way that has none.)
bash "$ROOT/vcam/prefix.sh" plug "$E2E_PREFIX" "$E2E_VCAM_DLL" "$E2E_CAMERAS" ||
    fail "the camera could not be plugged in"
rm -f "$E2E_WORK/Framewright.ini"
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
d wait-window "$TITLE" 120000 >/dev/null || fail "no window"
wait_until 60 log_has 'cameracontrol set id=6 ' || fail "start-up applied nothing"
MAIN=$(x_window "$TITLE")
d press "$TITLE" 2024 >/dev/null || fail "the Auto box of Brightness"
box_over_main event-box Event "the checkbox IDC_CKBRIGHT is checked."
d answer-box Event 1 >/dev/null
d wait-no-box Event 10000 >/dev/null || fail "the Event box stays"

# --- The preview in its own window.
[ "$(d click "$TITLE" 2000)" == "clicked 2000" ] || fail "Preview"
[ "$(d text "$TITLE" 2000)" == "Stop" ] || fail "the preview does not run"
wait_until 30 log_has 'stream first-frame' || fail "no frame from the camera"
VIDEO=$(x_window "$VIDEO_TITLE")
[ -n "$VIDEO" ] || fail "no video window"
# The renderer's own window has the frame's size, 1920 x 1080: half of it, at the left of the
# screen, with the main window beside it.
xdotool windowsize --sync "$VIDEO" 960 540
move_frame "$VIDEO" 0 0
read -r vx vy vw vh <<<"$(geometry "$(frame_of "$VIDEO")")"
move_frame "$MAIN" $((vx + vw + 8)) 0
xdotool windowactivate --sync "$MAIN"
painted
wait_until 30 eval '[ "$(colours "$VIDEO")" -ge 8 ]' || fail "the video window shows no picture"
read -r mx my mw mh <<<"$(geometry "$(frame_of "$MAIN")")"
shoot preview-extern 0 0 $((mx + mw)) $((mh > vh ? mh : vh))

# --- "Intern": the running preview moved into the "Parameters" box.
[ "$(d click "$TITLE" 2063)" == "clicked 2063" ] || fail "Intern"
[ "$(video_window 2)" == "2026" ] || fail "the video window is not in the Parameters box"
[ "$(control_shown 2043)" == "0" ] || fail "the sliders are still shown"
painted
shoot_window preview-intern "$MAIN"

# --- The exit question after those changes.
d press "$TITLE" 2009 >/dev/null || fail "Exit"
box_over_main exit-question Event "Exit Saving Changes"
d answer-box Event 7 >/dev/null
e2e_wait_exit 60
[ "$E2E_EXIT" == "0" ] || fail "the tool ended with $E2E_EXIT"
echo "screenshots: done"
