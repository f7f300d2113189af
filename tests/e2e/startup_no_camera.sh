#!/usr/bin/env bash
# No camera and no settings file: the window with its 66 controls and the no-camera status, a
# settings file with exactly the keys of a first start, and a close request ending with code 0.
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin startup_no_camera

e2e_start_tool
check_true "the window appears" d wait-window "$TITLE" 120000 >/dev/null
check_eq "status text" "No Parvanex Camera detected, please attach a Parvanex Webcam" "$(d text "$TITLE" 2002)"
d controls "$TITLE" >"$E2E_TMP/controls.tsv"
check_true "the layout of every control" python3 "$(dirname "$0")/compare_layout.py" \
    "$(dirname "$0")/expected/layout.tsv" "$E2E_TMP/controls.tsv"
check_eq "client area" "$(printf '770\t515')" "$(d client "$TITLE")"
check_eq "Preview disabled" "0" "$(awk -F'\t' '$1==2000 {print $11}' "$E2E_TMP/controls.tsv")"
check_eq "Exit enabled" "1" "$(awk -F'\t' '$1==2009 {print $11}' "$E2E_TMP/controls.tsv")"
expected=$(printf '[General]\r\nNumberOfCameras=0\r\nImageSavePath=C:\\W1X9Image.bmp\r\nStartWithPreview=0\r\nInternalDisplay=0\r\nExitOnCapture=0\r\nCaptureOnStart=0\r\nUsePrintKeyToCaptureImages=0\r\nUseMinMaxOnPrintKey=0\r\nHideAppWhenInactive=0\r\nImageCounter=0\r\nReviewTimeMs=1500\r\n' >"$E2E_TMP/expected.ini"; bytes_of "$E2E_TMP/expected.ini")
check_eq "Framewright.ini of a first start without camera" "$expected" "$(bytes_of "$E2E_WORK/Framewright.ini")"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "exit code after the close request" "0" "$E2E_EXIT"
e2e_end
