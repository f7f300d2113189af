#!/usr/bin/env bash
# InitAndExit 1: the stored record reaches the camera and the tool ends with code 0 right after
# the focus write, before its message loop runs.
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin init_and_exit one.cfg

# A complete file for the camera with a manual record that differs from the camera's values.
printf '[General]\r\nNumberOfCameras=1\r\nInternalDisplay=0\r\nImageSavePath=C:\\W1X9Image.bmp\r\nStartWithPreview=0\r\nExitOnCapture=0\r\nCaptureOnStart=0\r\nUsePrintKeyToCaptureImages=0\r\nUseMinMaxOnPrintKey=0\r\nHideAppWhenInactive=0\r\nImageCounter=0\r\nReviewTimeMs=1500\r\nIncrementImageName=0\r\nInitAndExit=1\r\n[Camera0]\r\nName=Parvanex Virtual Camera\r\nLEDInfo=1\r\nPowerScheme=2\r\nBrightness=90\r\nContrast=40\r\nSaturation=70\r\nSharpness=30\r\nWhiteBalance=5000\r\nBacklightCompensation=1\r\nGain=12\r\nZoom=151\r\nExposureTime=500\r\nFocusValue=-1\r\nResolution=0\r\nResolutionX=1920\r\nResolutionY=1080\r\nFlagBrightness=0\r\nFlagContrast=0\r\nFlagSaturation=0\r\nFlagSharpness=0\r\nFlagWhiteBalance=0\r\nFlagBacklightCompensation=0\r\nFlagGain=0\r\nFlagZoom=0\r\nFlagExposureTime=0\r\nFlagFocusValue=1\r\nFlagAutomatic=0\r\n' >"$E2E_WORK/Framewright.ini"
cp "$E2E_WORK/Framewright.ini" "$E2E_TMP/before.ini"
e2e_start_tool
e2e_wait_exit 60
check_eq "exit code" "0" "$E2E_EXIT"
expected='cam=0 procamp set id=13 value=2 flags=2 hr=0x00000000
cam=0 vendor set id=7 words=0,0,0,1,0 hr=0x00000000
cam=0 procamp set id=0 value=90 flags=2 hr=0x00000000
cam=0 cameracontrol set id=4 value=-6 flags=2 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=19 value=0 flags=2 hr=0x00000000
cam=0 procamp set id=1 value=40 flags=2 hr=0x00000000
cam=0 procamp set id=3 value=70 flags=2 hr=0x00000000
cam=0 procamp set id=4 value=30 flags=2 hr=0x00000000
cam=0 procamp set id=7 value=5000 flags=2 hr=0x00000000
cam=0 procamp set id=8 value=1 flags=2 hr=0x00000000
cam=0 procamp set id=9 value=12 flags=2 hr=0x00000000
cam=0 vendor set id=3 words=0,0,0,152 hr=0x00000000
cam=0 vendor set id=5 words=2,0,0,500 hr=0x00000000
cam=0 cameracontrol set id=6 value=128 flags=1 hr=0x00000000'
check_eq "the record applied in the tool's order, ending with automatic focus" "$expected" "$(camera_log ' set ')"
check_eq "the camera's state keeps the applied values" "cam=0 procamp id=0 words=90,2" \
    "$(grep -a 'procamp id=0 ' "$FRAMEWRIGHT_VCAM_STATE" | tr -d '\r')"
check_eq "the settings file is left as it was" "$(bytes_of "$E2E_TMP/before.ini")" "$(bytes_of "$E2E_WORK/Framewright.ini")"
check_eq "no window was left behind" "" "$(d wait-window "$TITLE" 100 2>/dev/null)"
e2e_end
