#!/usr/bin/env bash
# Shared steps of the end-to-end tests: a display and a Wine prefix of the test's own, the real
# Framewright.exe started in a working folder of its own, the driver, and checks that say what
# they expected and what they got.
set -u

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINDOWS_BUILD=${FRAMEWRIGHT_WINDOWS_BUILD_DIR:-$E2E_ROOT/build/windows}
E2E_EXE=$WINDOWS_BUILD/Framewright.exe
E2E_DRIVER=$WINDOWS_BUILD/driver.exe
E2E_VCAM_DLL=$WINDOWS_BUILD/framewright_vcam.dll
TITLE="Orvisto Settings"
E2E_FAILURES=0
E2E_CHECKS=0

. "$E2E_ROOT/scripts/wine-session.sh"

e2e_require() {
    local f
    for f in "$@"; do
        if [ ! -f "$f" ]; then
            echo "SKIP: $f is not built"
            exit 77
        fi
    done
}

# e2e_begin NAME [CAMERAS]: a temporary folder with a working folder, a display, and a prefix.
# Without CAMERAS the prefix has no camera at all; with CAMERAS (a virtual camera configuration,
# a file name in tests/e2e/cameras/ or a path) the camera prefix is used, those cameras are
# registered, and the camera's log, state and unplug files live in the test's folder. With
# E2E_FRESH_PREFIX=1 the prefix is made from nothing in the test's folder (wineboot, about 12 s)
# instead of the build's shared one, and removed with it.
e2e_begin() {
    e2e_require "$E2E_EXE" "$E2E_DRIVER"
    E2E_NAME=$1
    E2E_TMP=$(mktemp -d "/tmp/fw-e2e-$1.XXXXXX")
    E2E_WORK=$E2E_TMP/work
    mkdir -p "$E2E_WORK"
    # Prefixes are made once per build folder and reused by the tests after it.
    E2E_PREFIX=${FRAMEWRIGHT_E2E_PREFIX:-$E2E_ROOT/build/e2e-prefix}
    [ "${E2E_FRESH_PREFIX:-0}" = 1 ] && E2E_PREFIX=$E2E_TMP/prefix
    unset FRAMEWRIGHT_VCAM_PREPARE
    if [ $# -ge 2 ]; then
        e2e_require "$E2E_VCAM_DLL"
        E2E_CAMERAS=$2
        [ -f "$E2E_CAMERAS" ] || E2E_CAMERAS=$E2E_ROOT/tests/e2e/cameras/$2
        E2E_PREFIX=$E2E_PREFIX-vcam
        export FRAMEWRIGHT_VCAM_LOG=$E2E_TMP/vcam.log
        export FRAMEWRIGHT_VCAM_STATE=$E2E_TMP/vcam-state.txt
        export FRAMEWRIGHT_VCAM_UNPLUG=$E2E_TMP/vcam-unplugged.txt
        # Read by tool_hooks.dll inside the tool (driver.exe send-watched).
        export FRAMEWRIGHT_STATUS_LOG=$E2E_TMP/status.log
    fi
    trap e2e_cleanup EXIT
    ws_start_display || { echo "FAIL: no display"; exit 1; }
    ws_prefix "$E2E_PREFIX" || { echo "FAIL: no prefix"; exit 1; }
    if [ -n "${E2E_CAMERAS:-}" ]; then
        bash "$E2E_ROOT/vcam/prefix.sh" prepare "$E2E_PREFIX" "$E2E_VCAM_DLL" "$E2E_CAMERAS" ||
            { echo "FAIL: cameras of $E2E_CAMERAS not registered"; exit 1; }
        : >"$FRAMEWRIGHT_VCAM_LOG"
    fi
}

# e2e_unplug N: camera N is removed, and the tool is told as Windows would tell it. The notice is
# sent, not posted (Wine refuses to post WM_DEVICECHANGE), so this returns when the rescan is over;
# the status texts set meanwhile are appended to $FRAMEWRIGHT_STATUS_LOG, one "TICKS<tab>TEXT" line
# each.
e2e_unplug() {
    bash "$E2E_ROOT/vcam/prefix.sh" unplug "$E2E_PREFIX" "$1" &&
        d send-watched "$TITLE" 0x219 0x8004 0 >/dev/null
}

# e2e_plug CAMERAS: the cameras of another configuration (a file in tests/e2e/cameras/ or a path)
# are registered while the tool runs, then the arrival notice, as for e2e_unplug.
e2e_plug() {
    local cameras=$1
    [ -f "$cameras" ] || cameras=$E2E_ROOT/tests/e2e/cameras/$1
    bash "$E2E_ROOT/vcam/prefix.sh" plug "$E2E_PREFIX" "$E2E_VCAM_DLL" "$cameras" &&
        d send-watched "$TITLE" 0x219 0x8000 0 >/dev/null
}

# camera_log PATTERN: the camera's log lines that match an extended regular expression, without
# the process and time fields at their ends.
camera_log() { grep -E "$1" "$FRAMEWRIGHT_VCAM_LOG" | sed -E 's/ pid=[0-9]+ t=[0-9]+\r?$//'; }

e2e_cleanup() {
    if [ -n "${E2E_TOOL_PID:-}" ] && kill -0 "$E2E_TOOL_PID" 2>/dev/null; then
        kill "$E2E_TOOL_PID" 2>/dev/null
        wait "$E2E_TOOL_PID" 2>/dev/null
    fi
    ws_stop
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}

# e2e_start_tool: Framewright.exe in the working folder, in the background. Its time limit only
# ends a tool that a killed test left behind (a test ends its tool itself): under load one part of
# a test took more than the former 120 s, and the limit then ended the tool just before its Exit.
# The driver starts it and writes its exit code as Windows reports it to $E2E_TMP/exit-code.txt:
# Wine kills a process with SIGKILL when its Unix process lingers about half a second after its
# last thread ended, so under load a clean exit showed as 137 in the Unix status.
e2e_start_tool() {
    rm -f "$E2E_TMP/exit-code.txt"
    (cd "$E2E_WORK" && ws_run "$E2E_PREFIX" "${E2E_TOOL_LIMIT:-600}" "$E2E_DRIVER" run \
        "Z:$(printf '%s' "$E2E_TMP/exit-code.txt" | tr / '\\')" \
        "Z:$(printf '%s' "$E2E_EXE" | tr / '\\')" >"$E2E_TMP/tool.out" 2>"$E2E_TMP/tool.err") &
    E2E_TOOL_PID=$!
}

# e2e_wait_exit SECONDS: sets E2E_EXIT to the tool's exit code, or 255 when it still runs after
# that time. (Not in a command substitution: only this shell can wait for its own child.)
e2e_wait_exit() {
    local limit=$1 waited=0
    E2E_EXIT=255
    while kill -0 "$E2E_TOOL_PID" 2>/dev/null; do
        [ "$waited" -ge $((limit * 10)) ] && return
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$E2E_TOOL_PID"
    E2E_EXIT=$?
    # The Windows exit code when the driver saw the tool end (not when a time limit ended both).
    if [ -s "$E2E_TMP/exit-code.txt" ]; then
        E2E_EXIT=$(tr -d '\r\n' <"$E2E_TMP/exit-code.txt")
    fi
    E2E_TOOL_PID=
}

# d ARGS...: one driver command; its output on stdout, its exit code returned. (The driver waits up
# to 60 s for a handler itself and says so; the limit here only ends a driver that hangs.)
d() {
    ws_run "$E2E_PREFIX" 180 "$E2E_DRIVER" "$@" 2>>"$E2E_TMP/driver.err" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

check_eq() {
    local what=$1 expected=$2 actual=$3
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if [ "$expected" == "$actual" ]; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        echo "  expected: $(printf '%q' "$expected")"
        echo "  got:      $(printf '%q' "$actual")"
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

check_true() {
    local what=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what (command: $*)"
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

# A file's bytes as text with CR and LF spelled out, for comparing settings files exactly.
bytes_of() { python3 -c 'import sys; print(repr(open(sys.argv[1],"rb").read()))' "$1"; }

e2e_end() {
    echo "$E2E_NAME: $((E2E_CHECKS - E2E_FAILURES)) passed, $E2E_FAILURES failed"
    if [ "$E2E_FAILURES" -ne 0 ]; then
        # What the tool and the driver said, for the failure report (the folder is removed).
        tail -n 20 "$E2E_TMP/tool.err" "$E2E_TMP/driver.err" 2>/dev/null
    fi
    [ "$E2E_FAILURES" -eq 0 ]
}

# tool_pid: the Linux process that runs Framewright.exe in this test's prefix. Wine names the
# process after the exe; the tool is started by driver.exe's "run", so it is found by its name and
# its prefix rather than among the test shell's descendants.
tool_pid() {
    local pid prefix
    prefix=$(cd "$E2E_PREFIX" 2>/dev/null && pwd)
    for pid in $(pgrep -x Framewright.exe); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# tool_rss_kb: the tool's resident memory in KB, from the kernel's own count.
tool_rss_kb() { awk '$1 == "VmRSS:" {print $2}' "/proc/$(tool_pid)/status" 2>/dev/null; }

# tool_memory_split: the tool's resident KB in the Unix heap (glibc's brk heap, which only Wine's
# own Unix side, X11 and the GL driver use; the Windows program's heaps are anonymous mappings), in
# anonymous mappings, and in mapped files, from /proc/PID/smaps: "HEAP ANON FILES".
tool_memory_split() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { kind = ($6 == "[heap]") ? "heap" : ($6 == "" ? "anon" : "file") }
        /^Rss:/ { kb[kind] += $2 }
        END { printf "%d %d %d\n", kb["heap"], kb["anon"], kb["file"] }' \
        "/proc/$(tool_pid)/smaps" 2>/dev/null
}
