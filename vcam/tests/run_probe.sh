#!/usr/bin/env bash
# Runs vcam_probe.exe against the camera DLL in a prefix and on a display of its own:
#   vcam/tests/run_probe.sh PROBE.exe framewright_vcam.dll
# Xvfb (the first free display from :110 or VCAM_PROBE_FIRST_DISPLAY, with GLX for VMR9) and
# openbox (without a window manager Wine waits 2 s on every hidden window) are started here, the
# prefix is a fresh one in a temporary folder (under TMPDIR, else /tmp), and only these processes
# are ended afterwards, by PID. Set VCAM_PROBE_KEEP=1 to keep the folder (prefix, log, state file)
# for a look.
set -u

here=$(cd "$(dirname "$0")" && pwd)
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$(pwd)/$1" ;; esac; }
[ $# -eq 2 ] || { echo "usage: run_probe.sh PROBE DLL" >&2; exit 2; }
probe=$(absolute "$1")
dll=$(absolute "$2")
# Without the Windows build there is nothing to prove (CTest counts 77 as skipped).
[ -f "$probe" ] && [ -f "$dll" ] || { echo "SKIP: $probe or $dll is not built"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vcam-probe.XXXXXX")
prefix=$work/prefix
xvfb_pid=
openbox_pid=
unplug_pid=

cleanup() {
    [ -n "$unplug_pid" ] && kill "$unplug_pid" 2>/dev/null
    [ -d "$prefix" ] && WINEPREFIX=$prefix timeout 30 wineserver -k 2>/dev/null
    [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ "${VCAM_PROBE_KEEP:-0}" = 1 ]; then
        echo "kept $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# A display is free when neither its socket nor its lock exists; another session may take the
# same number at the same moment, so a server that dies at once moves us to the next number.
n=${VCAM_PROBE_FIRST_DISPLAY:-110}
while :; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        Xvfb ":$n" -screen 0 2560x1600x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            break
        fi
        xvfb_pid=
    fi
    n=$((n + 1))
    [ "$n" -gt 250 ] && { echo "no free display" >&2; exit 1; }
done
export DISPLAY=:$n
openbox >/dev/null 2>&1 &
openbox_pid=$!
echo "display :$n, folder $work"

export FRAMEWRIGHT_VCAM_LOG=$work/requests.log
export FRAMEWRIGHT_VCAM_STATE=$work/state.txt
export FRAMEWRIGHT_VCAM_UNPLUG=$work/unplugged.txt
unset FRAMEWRIGHT_VCAM_CONFIG # the registration records the configuration

run() {
    WINEPREFIX=$prefix WINEDLLOVERRIDES="winedbg.exe=d" WINEDEBUG=-all timeout "$@"
}

start=$(date +%s.%N)
"$here/../prefix.sh" prepare "$prefix" "$dll" "$here/probe_config.txt" || exit 1
echo "prepare took $(echo "$(date +%s.%N) - $start" | bc) s"

status=0
echo "== main run"
start=$(date +%s.%N)
run 180 wine "$probe" --vmr9
rc=$?
echo "main run: exit $rc after $(echo "$(date +%s.%N) - $start" | bc) s"
[ $rc -eq 0 ] || status=1

echo "== state kept for a second process"
run 60 wine "$probe" --state
rc=$?
echo "state run: exit $rc"
[ $rc -eq 0 ] || status=1

echo "== unplugging camera 4 while a program holds it"
rm -f "$work/ready"
run 90 wine "$probe" --unplug "Z:${work//\//\\}\\ready" &
unplug_pid=$!
for _ in $(seq 300); do
    [ -e "$work/ready" ] && break
    kill -0 "$unplug_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -e "$work/ready" ]; then
    "$here/../prefix.sh" unplug "$prefix" 4
fi
wait "$unplug_pid"
rc=$?
unplug_pid=
echo "unplug run: exit $rc"
[ $rc -eq 0 ] || status=1

echo "== the USB-shaped cameras of probe_uvc.txt (registered over the first ones)"
"$here/../prefix.sh" plug "$prefix" "$dll" "$here/probe_uvc.txt" || status=1
VCAM_PROBE_JPEG=$work/mjpg-frame.jpg run 120 wine "$probe" --uvc
rc=$?
echo "uvc run: exit $rc"
[ $rc -eq 0 ] || status=1

echo "== the same cameras through the stand-in converter to an RGB24 grabber"
run 120 wine "$probe" --convert
rc=$?
echo "convert run: exit $rc"
[ $rc -eq 0 ] || status=1

# The camera's MJPG frame as any JPEG decoder sees it: the pattern at brightness 150, within 6
# levels away from the edges (djpeg blends chroma across them).
echo "== the MJPG frame decoded by djpeg"
if djpeg -bmp -outfile "$work/mjpg-frame.bmp" "$work/mjpg-frame.jpg" &&
    python3 "$here/../../tests/e2e/fw/bitmap.py" --near 6 8 "$work/mjpg-frame.bmp" 1920 1080 150; then
    echo "ok   djpeg decodes the MJPG frame to the pattern"
else
    echo "FAIL djpeg decodes the MJPG frame to the pattern"
    status=1
fi

echo "== request log: $(wc -l <"$FRAMEWRIGHT_VCAM_LOG") lines; stream lines:"
grep -a " stream \| streamconfig setformat \| filter run " "$FRAMEWRIGHT_VCAM_LOG"
echo "== state file:"
cat "$FRAMEWRIGHT_VCAM_STATE"
echo "run_probe: $([ $status -eq 0 ] && echo PASSED || echo FAILED)"
exit $status
