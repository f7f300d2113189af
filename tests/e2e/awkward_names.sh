#!/usr/bin/env bash
# Cameras whose friendly names do not survive a settings-file line as they are (a trailing blank,
# a line feed from U+010A and a real one): the first start stores them quoted and escaped, and the
# second start with the same cameras passes the configuration check and applies the stored record.
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin awkward_names awkward_names.cfg

# applied: true once the end of start-up, the focus write of the stored record, is in the log.
applied() {
    local waited=0
    until grep -aq 'cameracontrol set id=6 ' "$FRAMEWRIGHT_VCAM_LOG"; do
        [ "$waited" -ge 600 ] && return 1
        sleep 0.1
        waited=$((waited + 1))
    done
}

e2e_start_tool
check_true "first start: the window appears" d wait-window "$TITLE" 30000 >/dev/null
check_true "first start: start-up has applied the camera's values" applied
check_eq "first start: label of camera 1" "Camera 1: Parvanex Trailing " "$(d text "$TITLE" 2052)"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "first start: exit code" "0" "$E2E_EXIT"
names=$(grep -a '^Name=' "$E2E_WORK/Framewright.ini" | tr -d '\r')
check_eq "first start: the names stored quoted twice, line feeds escaped" \
    "$(printf 'Name=""Parvanex Trailing ""\nName=""Parvanex \\nFeed\\n""')" "$names"

# The second start: a changed brightness for camera 1 and InitAndExit, so that the stored record
# reaching the camera and the exit that follows show the check passed (a refused configuration
# would wait for its message box to be answered).
python3 - "$E2E_WORK/Framewright.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, 'rb').read()
camera0 = text.index(b'[Camera0]')
text = text[:camera0] + text[camera0:].replace(b'Brightness=128\r\n', b'Brightness=90\r\n', 1)
text = text.replace(b'ReviewTimeMs=1500\r\n', b'ReviewTimeMs=1500\r\nInitAndExit=1\r\n', 1)
open(path, 'wb').write(text)
PY
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
e2e_wait_exit 60
check_eq "second start: the stored settings applied, then the unattended exit" "0" "$E2E_EXIT"
check_eq "second start: the stored brightness reached camera 1" \
    "cam=0 procamp set id=0 value=90 flags=2 hr=0x00000000" "$(camera_log 'procamp set id=0 ')"
check_eq "second start: no configuration-changed box" "" \
    "$(d wait-box "Camera configuration changed" 100 2>/dev/null)"
check_eq "second start: the names still stored as before" "$names" \
    "$(grep -a '^Name=' "$E2E_WORK/Framewright.ini" | tr -d '\r')"
e2e_end
