#!/usr/bin/env bash
# Functions for running the Windows programs under Wine on a display of our own. Source this file:
#
#   . scripts/wine-session.sh
#   ws_start_display            # sets WS_DISPLAY (e.g. :90) and exports DISPLAY
#   ws_prefix /tmp/fw-prefix    # creates or reuses a Wine prefix
#   ws_run /tmp/fw-prefix 20 build/windows/Framewright.exe
#   ws_stop                     # ends our wineservers, openbox and Xvfb
#
# Xvfb and openbox are background jobs of the sourcing shell: wait for a program by its PID
# ("wait $pid"), never with a bare "wait", which would wait for them as well.
#
# Only the processes these functions started are ended, by their PIDs; other sessions' displays
# and prefixes are left alone. Set FRAMEWRIGHT_VCAM_PREPARE to a command that is run with the
# prefix folder as its argument after the prefix is ready (for example to register a camera).
# Set WS_OPENBOX_CONFIG to an openbox rc.xml to start the window manager with it.

WS_DISPLAY=${WS_DISPLAY:-}
WS_XVFB_PID=${WS_XVFB_PID:-}
WS_OPENBOX_PID=${WS_OPENBOX_PID:-}
WS_PREFIXES=${WS_PREFIXES:-}

# A display is taken when its socket or its lock file exists (a lock can outlive a dead server;
# skipping it costs nothing).
ws__display_free() {
    local n=$1
    [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]
}

# WS_FIRST_DISPLAY moves the first number tried (default 90), for a session given its own range.
ws_start_display() {
    local n=${WS_FIRST_DISPLAY:-90}
    while ! ws__display_free "$n"; do
        n=$((n + 1))
        if [ "$n" -gt 199 ]; then
            echo "ws_start_display: no free display between :90 and :199" >&2
            return 1
        fi
    done
    Xvfb ":$n" -screen 0 2560x1600x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
    WS_XVFB_PID=$!
    # The server is ready when its socket appears; give up after about 10 s.
    local tries=0
    while [ ! -e "/tmp/.X11-unix/X$n" ]; do
        if ! kill -0 "$WS_XVFB_PID" 2>/dev/null; then
            # Another session took the number in the meantime: try the next one.
            WS_XVFB_PID=
            ws_start_display
            return $?
        fi
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "ws_start_display: Xvfb :$n did not start" >&2
            kill "$WS_XVFB_PID" 2>/dev/null
            WS_XVFB_PID=
            return 1
        fi
        sleep 0.1
    done
    WS_DISPLAY=":$n"
    export DISPLAY=$WS_DISPLAY
    # A window manager: without one, Wine waits 2 s on every hide or destroy of a top-level window.
    # WS_OPENBOX_CONFIG may name another rc.xml (the default one grabs Print and Alt+Print).
    # The window manager is ready once it has set _NET_SUPPORTING_WM_CHECK on the root window: a
    # window created before would be mapped unmanaged. Seen in a full test run: an openbox that
    # ended at once on a display just made (twice in one run, never when tried alone), so a few
    # more are tried before the display is given up. Each waits about 30 s at most.
    local attempt tries
    for attempt in 1 2 3; do
        openbox ${WS_OPENBOX_CONFIG:+--config-file "$WS_OPENBOX_CONFIG"} \
            >>"/tmp/.fw-openbox-$n.log" 2>&1 &
        WS_OPENBOX_PID=$!
        export WS_DISPLAY WS_XVFB_PID WS_OPENBOX_PID
        tries=0
        until xprop -display "$WS_DISPLAY" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
            grep -q 'window id'; do
            tries=$((tries + 1))
            if ! kill -0 "$WS_OPENBOX_PID" 2>/dev/null || [ "$tries" -gt 300 ]; then
                echo "ws_start_display: openbox attempt $attempt did not start on $WS_DISPLAY:" \
                    "$(tail -n 2 "/tmp/.fw-openbox-$n.log" 2>/dev/null | tr '\n' ' ')" >&2
                kill "$WS_OPENBOX_PID" 2>/dev/null
                wait "$WS_OPENBOX_PID" 2>/dev/null
                WS_OPENBOX_PID=
                continue 2
            fi
            sleep 0.1
        done
        rm -f "/tmp/.fw-openbox-$n.log"
        return 0
    done
    echo "ws_start_display: no window manager on $WS_DISPLAY" >&2
    return 1
}

ws_prefix() {
    local dir=$1
    if [ -z "$dir" ]; then
        echo "ws_prefix: prefix folder needed" >&2
        return 1
    fi
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    case " $WS_PREFIXES " in
    *" $dir "*) ;;
    *) WS_PREFIXES="$WS_PREFIXES $dir" ;;
    esac
    export WS_PREFIXES
    if [ ! -f "$dir/system.reg" ]; then
        WINEPREFIX=$dir WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d" WINEDEBUG=-all \
            timeout 120 wineboot -i >/dev/null 2>&1 || return 1
    fi
    # The registry is written lazily: wait until the server has flushed it and exited.
    WINEPREFIX=$dir timeout 60 wineserver -w || return 1
    if [ -n "${FRAMEWRIGHT_VCAM_PREPARE:-}" ]; then
        "$FRAMEWRIGHT_VCAM_PREPARE" "$dir" || return 1
    fi
}

# ws_run DIR TIMEOUT_S command [args...]: runs a Windows program (or wine tool) in the prefix and
# returns its exit code (124 when the time-out ended it).
ws_run() {
    local dir=$1 limit=$2
    shift 2
    local prog=$1
    shift
    # A Windows program is started through wine; anything else (wine, regedit, a script) as is.
    case "$prog" in
    *.exe | *.EXE) set -- "$prog" "$@"; prog=wine ;;
    esac
    WINEPREFIX=$dir WINEDLLOVERRIDES="winedbg.exe=d" WINEDEBUG=-all \
        timeout "$limit" "$prog" "$@"
}

ws_stop() {
    local dir
    for dir in $WS_PREFIXES; do
        WINEPREFIX=$dir timeout 30 wineserver -k 2>/dev/null
    done
    WS_PREFIXES=
    if [ -n "$WS_OPENBOX_PID" ]; then
        kill "$WS_OPENBOX_PID" 2>/dev/null
        wait "$WS_OPENBOX_PID" 2>/dev/null
        WS_OPENBOX_PID=
    fi
    if [ -n "$WS_XVFB_PID" ]; then
        kill "$WS_XVFB_PID" 2>/dev/null
        wait "$WS_XVFB_PID" 2>/dev/null
        WS_XVFB_PID=
    fi
    WS_DISPLAY=
    export WS_PREFIXES WS_OPENBOX_PID WS_XVFB_PID WS_DISPLAY
}
