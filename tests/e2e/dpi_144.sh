#!/usr/bin/env bash
# The window on a screen at 150 % (LogPixels 144), against the same window at 96 DPI in the same
# prefix: every control's rectangle one and a half times its 96-DPI rectangle, the window's outer
# size too, its client area holding the scaled layout, the status bar across its bottom, every
# control's font height scaled and every text that fits its control at 96 DPI fitting at 144.
# Set FRAMEWRIGHT_DPI_SCREENSHOT to a file name to keep the 144-DPI screenshot there.
. "$(dirname "$0")/e2e_lib.sh"
# A prefix of its own: the DPI and the font replacement set here stay away from the tests that
# compare the window at 96 DPI.
FRAMEWRIGHT_E2E_PREFIX=${FRAMEWRIGHT_E2E_PREFIX:-$E2E_ROOT/build/e2e-prefix}-dpi
e2e_begin dpi_144 one.cfg

# Each new process of the prefix reads LogPixels when it starts; no wineserver restart is needed.
set_dpi() {
    ws_run "$E2E_PREFIX" 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
# Wine has no Times New Roman; without a replacement it draws a wider face and clips texts at any
# DPI. Liberation Serif has Times New Roman's metrics, so the texts measure as on Windows.
if fc-list | grep -q "Liberation Serif"; then
    ws_run "$E2E_PREFIX" 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif' /f >/dev/null 2>&1
else
    echo "note: no Liberation Serif; the texts are measured in Wine's stand-in for Times New Roman"
fi

# start_at DPI: the tool started with the screen at that DPI; its texts measured into fit-DPI.tsv.
start_at() {
    set_dpi "$1"
    e2e_start_tool
    check_true "$1 DPI: the window appears" d wait-window "$TITLE" 120000 >/dev/null
    d text-fit "$TITLE" >"$E2E_TMP/fit-$1.tsv"
    check_eq "$1 DPI: the tool sees the screen at $1 DPI and its manifest declares it DPI-aware" \
        "$(printf 'dpi\t%s\tdpiAware\ttrue' "$1")" "$(head -n 1 "$E2E_TMP/fit-$1.tsv")"
}
stop_tool() {
    d close "$TITLE" >/dev/null
    e2e_wait_exit 30
    check_eq "$1 DPI: exit code after the close request" "0" "$E2E_EXIT"
}

start_at 96
stop_tool 96

start_at 144
d controls "$TITLE" >"$E2E_TMP/controls.tsv"
check_true "144 DPI: every control at 1.5 times its 96-DPI rectangle" python3 \
    "$(dirname "$0")/compare_layout.py" "$(dirname "$0")/expected/layout.tsv" \
    "$E2E_TMP/controls.tsv" 144
outer=$(d windows "$TITLE" | awk -F'\t' '$1 == "my_wnd_class_name_0" {print $9, $10}')
check_eq "144 DPI: the window's outer size, 778 x 542 at 96 DPI" "1167 813" "$outer"
read -r client_width client_height <<<"$(d client "$TITLE")"
# At 96 DPI the status bar's bottom edge is the client area's (770 x 515); the scaled layout needs
# 1155 x 773 (MulDiv of each).
check_true "144 DPI: the client area ($client_width x $client_height) holds the scaled layout" \
    test "$client_width" -ge 1155 -a "$client_height" -ge 773
check_eq "144 DPI: the status bar across the client area's bottom (left, width, bottom)" \
    "0 $client_width $client_height" \
    "$(awk -F'\t' '$1 == 2002 {print $6, $8, $7 + $9}' "$E2E_TMP/controls.tsv")"
check_true "144 DPI: every font height scaled, and no text that fits at 96 DPI clipped" python3 \
    "$(dirname "$0")/text_fit.py" "$E2E_TMP/fit-96.tsv" "$E2E_TMP/fit-144.tsv" 144
# The whole window with its frame: Wine and openbox put it at the top left of the screen.
shot=$E2E_TMP/dpi-144.png
import -display "$WS_DISPLAY" -window root -crop "$(echo "$outer" | awk '{print $1 + 40 "x" $2 + 40}')+0+0" \
    +repage "$shot"
check_eq "144 DPI: the screenshot's size" "1207x853" "$(identify -format '%wx%h' "$shot" 2>/dev/null)"
if [ -n "${FRAMEWRIGHT_DPI_SCREENSHOT:-}" ]; then
    cp "$shot" "$FRAMEWRIGHT_DPI_SCREENSHOT" && echo "screenshot: $FRAMEWRIGHT_DPI_SCREENSHOT"
fi
stop_tool 144
e2e_end
