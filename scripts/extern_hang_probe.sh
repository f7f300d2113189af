#!/usr/bin/env bash
# Whether this Wine and libX11 still deadlock when the running preview leaves the main window
# ("Extern") while the window manager has the main window minimised: runs the tool with the
# virtual camera's 1080p preview and clicks Intern, then Extern, ROUNDS times without waiting for
# the window manager in between. Stops at the first Extern click whose handler has not returned
# within 60 s and keeps the native stacks of every thread of the tool (gdb) and the Windows ones
# (winedbg) in build/extern-probe/. docs/wine-notes.md has what the stacks showed on Debian 12.
# Needs gdb (apt-get install gdb), which the test command does not install.
#
#   bash scripts/extern_hang_probe.sh 250
set -u
rounds=${1:-250}
command -v gdb >/dev/null || { echo "extern_hang_probe.sh needs gdb" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/extern-probe
mkdir -p "$out"
export FRAMEWRIGHT_E2E_PREFIX=${FRAMEWRIGHT_E2E_PREFIX:-$root/build/extern-probe-prefix}
export E2E_TOOL_LIMIT=$((120 + rounds * 30))
. "$root/scripts/lib/capture_lib.sh"
e2e_begin extern_probe one.cfg
e2e_start_tool
d wait-window "$TITLE" 120000 >/dev/null || { echo "no window"; exit 1; }
wait_until 20 log_has 'cameracontrol set id=6 '
d click "$TITLE" 2000 >/dev/null
wait_until 20 log_has 'stream first-frame' || { echo "no frames"; exit 1; }
minimised=0
for round in $(seq 1 "$rounds"); do
    d click "$TITLE" 2063 >/dev/null
    before=$(main_window_state)
    [ "$before" = minimised ] && minimised=$((minimised + 1))
    if [ "$(d click "$TITLE" 2062)" != "clicked 2062" ]; then
        gdb -p "$(tool_pid)" -batch -ex "thread apply all bt 30" >"$out/native-stacks.txt" 2>&1 </dev/null
        WINEPREFIX=$E2E_PREFIX timeout 60 winedbg --command "bt all" >"$out/windows-stacks.txt" 2>&1 </dev/null
        echo "HANG in round $round (main window $before before the click; $minimised of the" \
            "rounds so far began minimised): $(tail -1 "$E2E_TMP/driver.err")"
        echo "stacks in $out/native-stacks.txt and $out/windows-stacks.txt"
        exit 1
    fi
done
d click "$TITLE" 2 >/dev/null
echo "no hang in $rounds rounds ($minimised of them with the main window minimised before Extern)"
