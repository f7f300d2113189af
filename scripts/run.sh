#!/usr/bin/env bash
# Builds the tool and starts it under Wine with one virtual camera attached. With a display
# ($DISPLAY) the operator works the tool there; without one the tool runs on a private Xvfb, the
# preview is started, a screenshot of the running tool is written, and the tool is closed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j"$(nproc 2>/dev/null || echo 2)"

build=$root/build/windows
prefix=$root/build/run-prefix
work=$root/build/run-work
mkdir -p "$work"
export FRAMEWRIGHT_VCAM_CONFIG=$root/vcam/configs/one-camera.cfg
export FRAMEWRIGHT_VCAM_STATE=$work/vcam-state.txt
export FRAMEWRIGHT_VCAM_LOG=$work/vcam-log.txt
export FRAMEWRIGHT_VCAM_PREPARE="$root/scripts/register-vcam.sh"

. scripts/wine-session.sh
trap ws_stop EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    ws_prefix "$prefix"
    echo "Starting Framewright on $DISPLAY (working folder $work)"
    (cd "$work" && WINEPREFIX=$prefix WINEDLLOVERRIDES="winedbg.exe=d" wine "$build/Framewright.exe")
    exit 0
fi

ws_start_display
ws_prefix "$prefix"
(cd "$work" && ws_run "$prefix" 300 "$build/Framewright.exe") &
tool=$!
driver() { ws_run "$prefix" 60 "$build/driver.exe" "$@" | tr -d '\r'; }
driver wait-window "Orvisto Settings" 30000 >/dev/null
driver click "Orvisto Settings" 2000 >/dev/null # Preview: the renderer opens its own window
driver wait-window "ActiveMovie Window" 30000 >/dev/null
# A picture is in the renderer's window once the camera's first frame has passed.
for _ in $(seq 1 100); do
    grep -aq 'stream first-frame' "$FRAMEWRIGHT_VCAM_LOG" 2>/dev/null && break
    sleep 0.1
done
# The renderer's own 1920x1080 window opens over the tool: bring the tool to the front at the
# right of the screen so the picture shows both.
tool_window=$(xdotool search --name "^Orvisto Settings$" | head -1)
if [ -n "$tool_window" ]; then
    xdotool windowmove --sync "$tool_window" 1760 60 windowactivate --sync "$tool_window" 2>/dev/null || true
    # A request answered by the tool after the move: it has handled the messages of the move.
    driver text "Orvisto Settings" 2002 >/dev/null
fi
shot=$work/screenshot.png
import -display "$WS_DISPLAY" -window root -crop 2560x1180+0+0 "$shot"
echo "Screenshot of the running tool: $shot"
echo "Status: $(driver text "Orvisto Settings" 2002)"
driver click "Orvisto Settings" 2009 >/dev/null # Exit
wait "$tool" && echo "Framewright ended with exit code 0"
