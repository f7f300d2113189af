#!/usr/bin/env bash
# The preview graph on the virtual camera: three presses of Preview (build and run, stop, run
# again), the renderer's own window, the camera's format and run/stop requests, the video window
# moved in and out by Intern and Extern, and a start with the internal display that embeds the
# window while the graph is built.
#
# Under Wine the renderer draws only in a top-level window of its own: placed in a child window it
# stays grey, though every frame still arrives. So the internal display is checked by where the
# renderer's window sits (its parent, the root window, style and rectangle), not by its pixels.
. "$(dirname "$0")/capture_lib.sh"
e2e_begin preview one.cfg

# Style bits as the window system reports them.
ws_visible=0x10000000
ws_child=0x40000000
ws_overlappedwindow=0x00cf0000
has_bits() { [ $(($1 & $2)) -eq $(($2)) ]; }
lacks_bits() { [ $(($1 & $2)) -eq 0 ]; }

e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_true "start-up applied the record" wait_until 20 log_has 'cameracontrol set id=6 '
check_eq "no renderer window shown before the first press" "0" \
    "$(video_windows | awk -F'\t' '$13==1' | wc -l)"

# Press 1: the graph is built, connected in RGB24 at the default 1920x1080 and run.
mark_log
d click "$TITLE" 2000 >/dev/null
check_eq "press 1: caption" "Stop" "$(d text "$TITLE" 2000)"
check_true "press 1: the camera delivers frames" wait_until 10 log_has 'stream first-frame'
# The camera lists 1920x1080 twice (MJPG, then RGB24): one request per entry, each derived from the
# pin's current RGB24 format at 30 frames per second.
check_eq "press 1: format requests, connection and run" \
    "cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 streamconfig setformat subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 pin connect subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000
cam=0 filter run hr=0x00000000" "$(log_since_mark 'setformat|pin connect|filter run|filter stop')"
check_eq "press 1: one renderer window" "1" "$(video_windows | wc -l)"
read -r parent owner style client_w client_h visible <<<"$(video_window 2,4,5,11,12,13)"
check_eq "press 1: the renderer's window is top-level, without owner, shown" "- - 1" \
    "$parent $owner $visible"
check_true "press 1: its style is an overlapped window's and no child's" \
    eval "has_bits $style $((ws_overlappedwindow | ws_visible)) && lacks_bits $style $ws_child"
check_eq "press 1: its client area is the frame size" "1920 1080" "$client_w $client_h"
check_eq "press 1: with Extern the Parameters controls stay shown" "1" "$(control_shown 2043)"

# Press 2: the graph stops, the video window is hidden, the controls come back and the main window
# is minimised and restored (within one handler; the watcher hears of both from a hook inside the
# tool). Under Wine with openbox the window manager's answer to the minimise may arrive after the
# restore and minimise the window once more: the state after the restore is not asserted.
mark_log
watch_start watch-press2
check_eq "press 2: the click's handler returns" "clicked 2000" "$(d click "$TITLE" 2000)"
check_true "press 2: the watch ends" watch_end
check_eq "press 2: caption" "Preview" "$(d text "$TITLE" 2000)"
check_eq "press 2: the camera is stopped" "cam=0 filter stop hr=0x00000000" \
    "$(log_since_mark 'filter (run|stop)')"
frames=$(frames_since_mark)
check_true "press 2: the camera had delivered frames ($frames)" test "$frames" -gt 0
check_eq "press 2: the same renderer window, hidden" "1 0" \
    "$(video_windows | wc -l) $(video_window 13)"
check_eq "press 2: the Parameters controls are shown" "1" "$(control_shown 2043)"
check_true "press 2: the main window was minimised and restored ($(states_of "$E2E_TMP/watch-press2.txt"))" \
    minimised_and_restored "$E2E_TMP/watch-press2.txt"

# Press 3: the stopped graph runs again without a rebuild; the controls are hidden although the
# display is Extern.
mark_log
d click "$TITLE" 2000 >/dev/null
check_eq "press 3: caption" "Stop" "$(d text "$TITLE" 2000)"
check_eq "press 3: run again, no new format or connection" "cam=0 filter run hr=0x00000000" \
    "$(log_since_mark 'setformat|pin connect|filter (run|stop)')"
check_eq "press 3: the same renderer window, shown" "1 1" "$(video_windows | wc -l) $(video_window 13)"
check_eq "press 3: the Parameters controls are hidden even with Extern" "0" "$(control_shown 2043)"

# Intern: the running video moves into the "Parameters" group box (2026) of the main window, at
# (0, 0) over its whole client area, with the style that adds WS_CLIPCHILDREN; it stays shown.
d click "$TITLE" 2063 >/dev/null
check_eq "Intern: the video window is a child of the group box in the main window" \
    "2026 $TITLE" "$(video_window 2,3)"
check_eq "Intern: style 0x46800000, shown" "0x56800000 1" "$(video_window 5,13)"
check_eq "Intern: at (0, 0), 616 by 432" "0 0 616 432" "$(video_window 7-10)"
check_eq "Intern: the group box is where the layout puts it" "136 8 616 432" \
    "$(d controls "$TITLE" | awk -F'\t' '$1==2026 {print $6, $7, $8, $9}')"
check_eq "Intern: the Parameters controls are hidden" "0 0" "$(control_shown 2043) $(control_shown 2034)"

# Under Wine with openbox the window manager's late answer to the Intern click's minimise and
# restore can leave the main window minimised. An Extern click on a minimised window can then
# deadlock inside libX11 (the handler's restore against wined3d's present of the video; seen in
# 2 of 17 such clicks, in none of 37 on a normal window; docs/wine-notes.md). An operator's window
# is not minimised behind their back: it is brought back first, normal for openbox and for Wine.
main_window_back() {
    timeout 20 xdotool windowactivate --sync "$(xdotool search --name "^$TITLE\$" | head -1)" \
        2>/dev/null
    wait_until 20 eval '[ "$(main_window_state)" == normal ] && [ "$(x_wm_state)" == Normal ]'
}
check_true "Intern: the main window is shown and normal before the next click" main_window_back

# Extern: back to a top-level window of its own with the overlapped window's style; the controls
# come back and the main window is minimised and restored.
watch_start watch-extern
check_eq "Extern: the click's handler returns" "clicked 2062" "$(d click "$TITLE" 2062)"
check_true "Extern: the watch ends" watch_end
check_eq "Extern: top-level again, no owner, style 0x00CF0000, shown" "- - 0x10cf0000 1" \
    "$(video_window 2,4,5,13)"
check_eq "Extern: the Parameters controls are shown" "1 1" "$(control_shown 2043) $(control_shown 2034)"
check_true "Extern: the main window was minimised and restored ($(states_of "$E2E_TMP/watch-extern.txt"))" \
    minimised_and_restored "$E2E_TMP/watch-extern.txt"

# Intern once more, then Exit and save: the file keeps the internal display and the frame size the
# build put into the camera's record in place of 0.
d click "$TITLE" 2063 >/dev/null
d press "$TITLE" 2009 >/dev/null # posted: the handler waits in the save question
check_eq "Exit asks to save (Intern and Extern changed settings)" "$TITLE	Exit Saving Changes" \
    "$(d wait-box Event 5000)"
d answer-box Event 6 >/dev/null
e2e_wait_exit 30
check_eq "exit code after saving" "0" "$E2E_EXIT"
check_eq "saved: internal display, and the frame size asked of the camera" "1 1920 1080" \
    "$(setting InternalDisplay) $(grep -a '^ResolutionX=\|^ResolutionY=' "$E2E_WORK/Framewright.ini" |
        cut -d= -f2 | tr -d '\r' | paste -sd ' ')"

# A start with InternalDisplay 1: the first press builds the graph with the window embedded in the
# group box (the style without WS_CLIPCHILDREN) and hides the controls.
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
check_true "second start: the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_true "second start: start-up applied the record" wait_until 20 log_has 'cameracontrol set id=6 '
d click "$TITLE" 2000 >/dev/null
check_eq "second start: caption" "Stop" "$(d text "$TITLE" 2000)"
check_eq "second start: the stored frame size is asked for" \
    "cam=0 pin connect subtype=RGB24 width=1920 height=1080 avgtime=333333 hr=0x00000000" \
    "$(camera_log 'pin connect')"
check_eq "second start: embedded in the group box at (0, 0), 616 by 432" "2026 0 0 616 432" \
    "$(video_window 2,7-10)"
# Hidden while the graph is built; the renderer shows it when the graph runs.
check_eq "second start: style 0x44800000, shown" "0x54800000 1" "$(video_window 5,13)"
check_eq "second start: the Parameters controls are hidden" "0" "$(control_shown 2043)"
check_true "second start: the camera delivers frames" wait_until 10 log_has 'stream first-frame'
d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
check_eq "second start: Exit without changes ends at once with code 0" "0" "$E2E_EXIT"
e2e_end
