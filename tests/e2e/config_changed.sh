#!/usr/bin/env bash
# A settings file that lists a camera while none is attached: the configuration-changed box with
# no owner, exit code 0 once it is dismissed, and nothing saved. Missing option keys are written
# with their defaults before the check; a file that has them all keeps its bytes.
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin config_changed

run_with_file() {
    e2e_start_tool
    local box
    box=$(d wait-box "Camera configuration changed" 120000)
    check_eq "$1: the box, without owner" \
        "$(printf '0\tPlease restore the previous Camera Config or delete Framewright.ini File')" "$box"
    d answer-box "Camera configuration changed" 1 >/dev/null
    e2e_wait_exit 30
    check_eq "$1: exit code" "0" "$E2E_EXIT"
}

printf '[General]\r\nNumberOfCameras=1\r\nImageSavePath=C:\\x.bmp\r\nStartWithPreview=0\r\nExitOnCapture=0\r\nCaptureOnStart=0\r\nUsePrintKeyToCaptureImages=0\r\nUseMinMaxOnPrintKey=0\r\nImageCounter=4\r\nReviewTimeMs=1500\r\nHideAppWhenInactive=0\r\n[Camera0]\r\nName=Parvanex Gone\r\n' >"$E2E_WORK/Framewright.ini"
cp "$E2E_WORK/Framewright.ini" "$E2E_TMP/before.ini"
run_with_file "complete file"
check_eq "complete file: bytes unchanged" "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"

printf '[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\nName=Parvanex Gone\r\n' >"$E2E_WORK/Framewright.ini"
run_with_file "file without options"
printf '[General]\r\nNumberOfCameras=1\r\nImageSavePath=C:\\W1X9Image.bmp\r\nStartWithPreview=0\r\nExitOnCapture=0\r\nCaptureOnStart=0\r\nUsePrintKeyToCaptureImages=0\r\nUseMinMaxOnPrintKey=0\r\nImageCounter=0\r\nReviewTimeMs=1500\r\nHideAppWhenInactive=0\r\n[Camera0]\r\nName=Parvanex Gone\r\n' >"$E2E_TMP/expected.ini"
check_eq "file without options: defaults written, nothing else" "$(bytes_of "$E2E_TMP/expected.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
e2e_end
