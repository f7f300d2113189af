#!/usr/bin/env bash
# The release zip as an operator uses it: unpacked into a Wine prefix made from nothing, with one
# virtual camera, and both programs run from its folder (C:\Framewright-<version>): the command-line
# program lists the camera, captures a still and applies the sample settings file; the window
# program, started there with the sample as its Framewright.ini, loads it without a question,
# applies it, shows the camera, writes a picture where the sample says and ends with exit code 0
# on a close.
. "$(dirname "$0")/release_lib.sh"
release_require
E2E_FRESH_PREFIX=1 e2e_begin release_package one.cfg

check_eq "the package's files, in one folder" \
    "$(printf "$RELEASE_NAME/%s\n" "" Framewright.exe FramewrightCli.exe Framewright.ini.sample \
        LICENSE.txt README.txt settings.md | sort)" "$(unzip -Z1 "$RELEASE_ZIP" | sort)"
release_unpack "$E2E_PREFIX/drive_c"
E2E_WORK=$RELEASE_FOLDER
E2E_CLI=$RELEASE_FOLDER/FramewrightCli.exe
E2E_EXE=$RELEASE_FOLDER/Framewright.exe

cli list
check_eq "FramewrightCli list: the camera" "0 1  Parvanex Virtual Camera" "$CLI_EXIT $CLI_OUT"
cli capture --out shot.bmp
check_eq "FramewrightCli capture: exit code" "0" "$CLI_EXIT"
check_image "FramewrightCli capture: a frame of the test pattern in the package's folder" \
    "$RELEASE_FOLDER/shot.bmp" 1920 1080 128

# The sample's requests: none refused. A key missing from the sample would be read as -1 and
# written so (the camera refuses that for each ranged property).
sample=$RELEASE_FOLDER/Framewright.ini.sample
sample_brightness=$(grep -a '^Brightness=' "$sample" | cut -d= -f2 | tr -d '\r')
# sample_applied: "WRITES REFUSALS": the brightness writes of the sample's value in the camera's
# log, and the set requests the camera refused.
sample_applied() {
    echo "$(camera_log " procamp set id=0 value=$sample_brightness " | wc -l)" \
        "$(camera_log ' set ' | grep -vc 'hr=0x00000000$')"
}
: >"$FRAMEWRIGHT_VCAM_LOG"
cli apply --settings Framewright.ini.sample
check_eq "FramewrightCli apply of the sample: exit code" "0" "$CLI_EXIT"
check_eq "FramewrightCli apply of the sample: its brightness written, nothing refused" "1 0" \
    "$(sample_applied)"

cp "$sample" "$RELEASE_FOLDER/Framewright.ini"
: >"$FRAMEWRIGHT_VCAM_LOG"
e2e_start_tool
check_true "Framewright.exe: the window appears" d wait-window "$TITLE" 120000 >/dev/null
# The focus is the start-up's last request; it comes only after the file passed the check.
check_true "Framewright.exe: start-up applied the sample" \
    wait_until 30 log_has 'cameracontrol set id=6 '
check_eq "Framewright.exe: the status names the camera" "Camera 1: Parvanex Virtual Camera" \
    "$(d status "$TITLE")"
check_eq "Framewright.exe: the sample's brightness written, nothing refused" "1 0" \
    "$(sample_applied)"
# The sample's pictures go to the public Pictures folder, which a standard user may write.
d click "$TITLE" 2065 >/dev/null
check_image "Framewright.exe: Capture Image with the sample writes into the public Pictures" \
    "$E2E_PREFIX/drive_c/users/Public/Pictures/Framewright.bmp" 1920 1080 "$sample_brightness"
d close "$TITLE" >/dev/null
e2e_wait_exit 30
check_eq "Framewright.exe: exit code after the close request" "0" "$E2E_EXIT"
# The tool writes each option of [General] it finds missing: the sample lacks none.
check_eq "Framewright.ini after the run: the sample as it was" "$(bytes_of "$sample")" \
    "$(bytes_of "$RELEASE_FOLDER/Framewright.ini")"
e2e_end
