#!/usr/bin/env bash
# Discovery counts only the vendor's cameras, in the device order, and never more than six:
# two vendor cameras around another maker's give two slots; seven vendor cameras give six.
. "$(dirname "$0")/e2e_lib.sh"

# labels_and_count NAME CONFIG EXPECTED_LABELS EXPECTED_COUNT
labels_and_count() {
    e2e_begin "$1" "$2"
    e2e_start_tool
    check_true "$1: the window appears" d wait-window "$TITLE" 120000 >/dev/null
    d controls "$TITLE" >"$E2E_TMP/controls.tsv"
    # Visible selection buttons, top to bottom, with their labels.
    check_eq "$1: visible camera selection buttons" "$3" \
        "$(awk -F'\t' '$1>=2047 && $1<=2052 && $10==1 {print $1 " " $3}' "$E2E_TMP/controls.tsv" | sort -r)"
    d close "$TITLE" >/dev/null
    e2e_wait_exit 30
    check_eq "$1: exit code" "0" "$E2E_EXIT"
    check_eq "$1: NumberOfCameras stored" "NumberOfCameras=$4" \
        "$(grep -a '^NumberOfCameras=' "$E2E_WORK/Framewright.ini" | tr -d '\r')"
    check_eq "$1: camera sections" "$5" \
        "$(grep -a -A1 '^\[Camera' "$E2E_WORK/Framewright.ini" | grep -a '^Name=' | tr -d '\r' | paste -sd ';')"
    e2e_cleanup
    trap - EXIT
}

labels_and_count mixed mixed.cfg "2052 Camera 1: Parvanex Virtual Camera
2051 Camera 2: Parvanex Second Camera" 2 "Name=Parvanex Virtual Camera;Name=Parvanex Second Camera"
labels_and_count seven seven.cfg "$(for i in 1 2 3 4 5 6; do echo "$((2053 - i)) Camera $i: Parvanex Camera $i"; done)" 6 \
    "$(for i in 1 2 3 4 5 6; do echo "Name=Parvanex Camera $i"; done | paste -sd ';')"
e2e_end
