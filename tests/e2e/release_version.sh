#!/usr/bin/env bash
# The project's version (CMakeLists.txt) is the one every place shows: the release zip's name, the
# version information of both programs in it (fixed numbers and strings, read from the files),
# FramewrightCli --version under Wine, the packaged README, and the README's release command.
. "$(dirname "$0")/release_lib.sh"
release_require
e2e_begin release_version
release_unpack "$E2E_TMP/unpacked"

# The fixed block holds four numbers: the version's, the missing ones 0 (1.2 is 1.2.0.0).
IFS=. read -r -a parts <<<"$RELEASE_VERSION"
while [ ${#parts[@]} -lt 4 ]; do parts+=(0); done
numbers=$(IFS=.; echo "${parts[*]}")

for program in Framewright FramewrightCli; do
    info=$(python3 "$E2E_ROOT/tests/e2e/pe_version.py" "$RELEASE_FOLDER/$program.exe" 2>&1)
    value() { printf '%s\n' "$info" | awk -F'\t' -v k="$1" '$1 == k {print $2}'; }
    check_eq "$program.exe: fixed file and product version" "$numbers $numbers" \
        "$(value fixed.FileVersion) $(value fixed.ProductVersion)"
    check_eq "$program.exe: FileVersion and ProductVersion strings" \
        "$RELEASE_VERSION $RELEASE_VERSION" \
        "$(value 040904b0.FileVersion) $(value 040904b0.ProductVersion)"
    check_eq "$program.exe: its own original file name" "$program.exe" \
        "$(value 040904b0.OriginalFilename)"
done

E2E_CLI=$RELEASE_FOLDER/FramewrightCli.exe
cli --version
check_eq "FramewrightCli --version from the package" "0 FramewrightCli $RELEASE_VERSION" \
    "$CLI_EXIT $CLI_OUT"
check_eq "the packaged README's title" "Framewright $RELEASE_VERSION" \
    "$(head -1 "$RELEASE_FOLDER/README.txt" | tr -d '\r')"
# Every package name the README gives is this version's (a forgotten one would name an old zip).
check_eq "the README names this version's zip, and no other" "$(basename "$RELEASE_ZIP")" \
    "$(grep -o 'Framewright-[0-9A-Za-z.-]*-win64\.zip' "$E2E_ROOT/README.md" | sort -u | paste -sd ' ')"
e2e_end
