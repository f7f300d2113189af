#!/usr/bin/env bash
# Captures against hostile files and folders under the real file functions: save paths of 0, 3, 4,
# 252, 253, 254 and 255 characters, fixed and counted; a missing folder and a drive that does not
# exist; an image and a settings file that another program holds open without sharing; read-only
# images, folders and settings files (only where file modes bind this user: root ignores them).
# The tool never dies, an image it could not replace stays as it was, no temporary file stays
# behind, the settings file changes only by the counter of a capture that succeeded, and counted
# captures that succeed carry consecutive numbers.
. "$(dirname "$0")/capture_lib.sh"
HOLD_FILE=$WINDOWS_BUILD/hold_file.exe
e2e_require "$HOLD_FILE"
e2e_begin hostile_files one.cfg
# Each start of the tool serves some twenty captures of 1080p frames: more than the usual limit
# on a loaded machine.
E2E_TOOL_LIMIT=${E2E_TOOL_LIMIT:-600}

size_1080p=6220854
INI=$E2E_WORK/Framewright.ini
WORK_WIN="$(windows_path "$E2E_WORK")\\"

# set_save_path VALUE: "ImageSavePath" of the running tool's settings file, changed in place (the
# tool reads it afresh at every capture).
set_save_path() {
    python3 - "$INI" "$1" <<'EOF'
import re, sys
text = open(sys.argv[1], "rb").read().decode("latin-1")
text, n = re.subn(r"(?m)^ImageSavePath=[^\r\n]*", lambda m: "ImageSavePath=" + sys.argv[2], text, 1)
assert n == 1
open(sys.argv[1], "wb").write(text.encode("latin-1"))
EOF
}

# padded NAME_LENGTH: PADDED, a file name in the working folder whose Windows path is exactly
# NAME_LENGTH characters long and ends in ".bmp".
padded() {
    local n=$(($1 - ${#WORK_WIN} - 4))
    PADDED=$(head -c "$n" /dev/zero | tr '\0' p).bmp
}

# capture WHAT: one click on "Capture Image", checked to have returned from its handler (the
# capture is over when the click returns).
capture() { check_eq "$1: the capture's click returned" "clicked 2065" "$(d click "$TITLE" 2065)"; }

# start_preview WHAT: the preview runs (the Preview button offers "Stop"), so that each capture
# only copies a frame and its click returns within the driver's time.
start_preview() {
    d click "$TITLE" 2000 >/dev/null
    check_true "$1: the preview runs" wait_until 30 eval '[ "$(d text "$TITLE" 2000)" = Stop ]'
}

# alive WHAT: the main window is still there.
alive() { check_true "$1: the tool is still running" d wait-window "$TITLE" 5000 >/dev/null; }

# listing: every file in the working folder with its size, one line each; files: the same
# without the settings file.
listing() { (cd "$E2E_WORK" && find . -type f -printf '%P %s\n' | LC_ALL=C sort); }
files() { listing | grep -v '^Framewright.ini '; }

# no_leftovers WHAT: no temporary image file in the working folder.
no_leftovers() { check_eq "$1: no temporary file left" "" "$(listing | grep -i partial)"; }

# hold PATH / release: PATH held open without sharing by another program, then let go.
hold() {
    rm -f "$E2E_TMP/release"
    # Emptied before the holder starts, not by the background job's redirection: the wait below
    # must not read the previous holder's "held" (it did, and a capture then ran unheld).
    : >"$E2E_TMP/hold.txt"
    ws_run "$E2E_PREFIX" 120 "$HOLD_FILE" "$(windows_path "$1")" \
        "$(windows_path "$E2E_TMP/release")" 100 >"$E2E_TMP/hold.txt" 2>&1 &
    HOLD_PID=$!
    check_true "another program holds $(basename "$1")" wait_until 30 grep -qs held "$E2E_TMP/hold.txt"
}
release() {
    touch "$E2E_TMP/release"
    wait "$HOLD_PID"
    check_true "the other program let go" grep -q released "$E2E_TMP/hold.txt"
}

# modes_bind FILE: writing FILE is refused to this user (false for root, whom modes do not bind).
modes_bind() { ! (: >>"$1") 2>/dev/null; }

# ---- Fixed name ----
still=$E2E_WORK/Still.bmp
write_settings "ImageSavePath=${WORK_WIN}Still.bmp"
e2e_start_tool
check_true "fixed: the window appears" d wait-window "$TITLE" 30000 >/dev/null
start_preview fixed
capture "fixed, Still.bmp"
check_eq "fixed: the first image has the size of one 1080p frame" "$size_1080p" \
    "$(stat -c %s "$still" 2>/dev/null)"
earlier=$(md5sum <"$still")

# The image is written under a temporary name first; near the path limit that name is a short one.
for length in 252 253 254; do
    padded "$length"
    set_save_path "$WORK_WIN$PADDED"
    capture "fixed, $length characters"
    check_eq "fixed, $length characters: the image is written at the path" "$size_1080p" \
        "$(stat -c %s "$E2E_WORK/$PADDED" 2>/dev/null)"
    no_leftovers "fixed, $length characters"
done

for short in a.b abcd; do
    set_save_path "$short"
    capture "fixed, ${#short} characters"
    check_eq "fixed, ${#short} characters: the image is written beside the settings" \
        "$size_1080p" "$(stat -c %s "$E2E_WORK/$short" 2>/dev/null)"
done

# Nothing may be written for these; the listing before and after proves it.
before=$(files)
padded 255
nowhere=("" "$WORK_WIN$PADDED" "${WORK_WIN}missing\\x.bmp")
for drive in q r s t u v w x y; do
    if [ ! -e "$E2E_PREFIX/dosdevices/$drive:" ]; then
        nowhere+=("${drive^^}:\\x.bmp")
        break
    fi
done
for path in "${nowhere[@]}"; do
    what="fixed, \"${path:0:30}\" (${#path} characters)"
    set_save_path "$path"
    capture "$what"
    check_eq "$what: no file is written" "$before" "$(files)"
    alive "$what"
done
check_eq "fixed: no missing folder was made" "" "$(ls -d "$E2E_WORK/missing" 2>/dev/null)"
check_eq "fixed: the earlier image is untouched" "$earlier" "$(md5sum <"$still")"

# An image that another program holds open cannot be replaced: it stays as it was.
set_save_path "${WORK_WIN}Still.bmp"
ini_before=$(bytes_of "$INI")
hold "$still"
capture "fixed, image held by another program"
check_eq "fixed, image held by another program: the image is untouched" "$earlier" \
    "$(md5sum <"$still")"
no_leftovers "fixed, image held by another program"
release
capture "fixed, image let go"
check_eq "fixed, image let go: replaced by a whole new image" "$size_1080p" \
    "$(stat -c %s "$still" 2>/dev/null)"
earlier=$(md5sum <"$still")

# A settings file held open without sharing cannot be read: the capture has no path and writes
# nothing.
before=$(listing)
hold "$INI"
capture "fixed, settings file held by another program"
alive "fixed, settings file held by another program"
release
check_eq "fixed, settings file held: no file is written" "$before" "$(listing)"
check_eq "fixed, settings file held: the settings file is unchanged" "$ini_before" \
    "$(bytes_of "$INI")"

# Read-only images, folders and settings files (file modes; root is not bound by them).
chmod 444 "$still"
if modes_bind "$still"; then
    capture "fixed, read-only image"
    check_eq "fixed, read-only image: untouched" "$earlier" "$(md5sum <"$still")"
    no_leftovers "fixed, read-only image"
else
    echo "skip: read-only image (file modes do not bind $(id -un); see docs/wine-notes.md)"
fi
chmod 644 "$still"
mkdir -p "$E2E_WORK/ro"
cp "$still" "$E2E_WORK/ro/Still.bmp"
chmod 555 "$E2E_WORK/ro"
if modes_bind "$E2E_WORK/ro/probe"; then
    set_save_path "${WORK_WIN}ro\\Still.bmp"
    capture "fixed, read-only folder"
    check_eq "fixed, read-only folder: the image in it is untouched" "$earlier" \
        "$(md5sum <"$E2E_WORK/ro/Still.bmp")"
    check_eq "fixed, read-only folder: nothing else in it" "Still.bmp" "$(ls "$E2E_WORK/ro")"
else
    echo "skip: read-only folder (file modes do not bind $(id -un); see docs/wine-notes.md)"
fi
chmod 755 "$E2E_WORK/ro"
rm -rf "$E2E_WORK/ro"
# With a fixed name the capture does not write the settings file, so a read-only one is no
# obstacle.
set_save_path "${WORK_WIN}Still.bmp"
ini_before=$(bytes_of "$INI")
chmod 444 "$INI"
rm -f "$still"
capture "fixed, read-only settings file"
check_eq "fixed, read-only settings file: the image is written" "$size_1080p" \
    "$(stat -c %s "$still" 2>/dev/null)"
check_eq "fixed, read-only settings file: unchanged" "$ini_before" "$(bytes_of "$INI")"
chmod 644 "$INI"

d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
check_eq "fixed: exit code" "0" "$E2E_EXIT"

# ---- Counted names ----
rm -f "$E2E_WORK"/*.bmp "$E2E_WORK"/p* "$E2E_WORK/a.b" "$E2E_WORK/abcd"
write_settings "ImageSavePath=${WORK_WIN}Shot.bmp" IncrementImageName=1 ImageCounter=0
e2e_start_tool
check_true "counted: the window appears" d wait-window "$TITLE" 30000 >/dev/null
start_preview counted
capture "counted, Shot.bmp"
check_eq "counted: the first image is number 1" "Shot000001.bmp 1" \
    "$(images) $(setting ImageCounter)"

# A capture that fails gives its number back: the next image that is written is number 2.
ini_before=$(bytes_of "$INI")
for path in "${nowhere[@]}" "" a.b; do
    what="counted, \"${path:0:30}\" (${#path} characters)"
    set_save_path "$path"
    ini_before=$(bytes_of "$INI")
    capture "$what"
    check_eq "$what: no image and the counter kept" "Shot000001.bmp 1" \
        "$(images) $(setting ImageCounter)"
    check_eq "$what: the settings file unchanged" "$ini_before" "$(bytes_of "$INI")"
done
check_eq "counted: no missing folder was made" "" "$(ls -d "$E2E_WORK/missing" 2>/dev/null)"
set_save_path "${WORK_WIN}Shot.bmp"
# A settings file held open without sharing: no path can be read and no counter saved, so the
# capture writes nothing and the number stays free.
ini_before=$(bytes_of "$INI")
before=$(listing)
hold "$INI"
capture "counted, settings file held by another program"
alive "counted, settings file held by another program"
release
check_eq "counted, settings file held: no file is written" "$before" "$(listing)"
check_eq "counted, settings file held: the settings file is unchanged" "$ini_before" \
    "$(bytes_of "$INI")"
capture "counted, Shot.bmp again"
check_eq "counted: the next image is number 2, no number skipped" \
    "Shot000001.bmp Shot000002.bmp 2" "$(images) $(setting ImageCounter)"

number=2
for length in 252 253; do
    padded "$length"
    number=$((number + 1))
    set_save_path "$WORK_WIN$PADDED"
    capture "counted, $length characters"
    counted_name=${PADDED%????}00000$number.bmp
    check_eq "counted, $length characters: image $number is written" "$size_1080p $number" \
        "$(stat -c %s "$E2E_WORK/$counted_name" 2>/dev/null) $(setting ImageCounter)"
    no_leftovers "counted, $length characters"
done
padded 254
set_save_path "$WORK_WIN$PADDED"
before=$(files)
capture "counted, 254 characters"
check_eq "counted, 254 characters: the counted name does not fit, nothing written" \
    "$before $number" "$(files) $(setting ImageCounter)"
set_save_path abcd
capture "counted, 4 characters"
number=$((number + 1))
check_eq "counted, 4 characters: the number alone names the image" "$size_1080p $number" \
    "$(stat -c %s "$E2E_WORK/00000$number.bmp" 2>/dev/null) $(setting ImageCounter)"

# A counter that cannot be saved refuses the capture: a later start would reuse the number.
set_save_path "${WORK_WIN}Shot.bmp"
chmod 444 "$INI"
if modes_bind "$INI"; then
    ini_before=$(bytes_of "$INI")
    before=$(listing)
    capture "counted, read-only settings file"
    check_eq "counted, read-only settings file: no image" "$before" "$(listing)"
    check_eq "counted, read-only settings file: unchanged" "$ini_before" "$(bytes_of "$INI")"
else
    echo "skip: counted capture with a read-only settings file (file modes do not bind $(id -un))"
fi
chmod 644 "$INI"
capture "counted, Shot.bmp at the end"
number=$((number + 1))
check_eq "counted: the last image takes the next number" "$size_1080p $number" \
    "$(stat -c %s "$E2E_WORK/Shot00000$number.bmp" 2>/dev/null) $(setting ImageCounter)"
check_eq "counted: the camera section is kept" "Name=Parvanex Virtual Camera" \
    "$(grep -a '^Name=' "$INI" | tr -d '\r')"

d click "$TITLE" 2009 >/dev/null
e2e_wait_exit 30
check_eq "counted: exit code" "0" "$E2E_EXIT"
e2e_end
