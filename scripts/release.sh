#!/usr/bin/env bash
# Builds the release package: Framewright.exe and FramewrightCli.exe from the Windows build, and
# build/release/Framewright-<version>-win64.zip holding one folder, Framewright-<version>, with both
# programs, the operator's README, the settings reference, a sample settings file and the licence.
# The version is the project's (CMakeLists.txt), read from the header the build generated for the
# programs' version information, so the zip's name and the programs cannot disagree. Safe to run
# again: the zip is made anew, and packages of other versions are removed from build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# The settings reference is part of the package: without it there is no release.
if [ ! -f docs/settings.md ]; then
    echo "release.sh: docs/settings.md (the settings reference) is missing;" \
        "the package cannot be made without it" >&2
    exit 1
fi

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j"$(nproc 2>/dev/null || echo 2)" --target Framewright FramewrightCli

header=build/windows/generated/framewright_version.h
version=$(sed -n 's/^#define FRAMEWRIGHT_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
if [ -z "$version" ]; then
    echo "release.sh: no FRAMEWRIGHT_VERSION_TEXT in $header" >&2
    exit 1
fi

name=Framewright-$version
out=$root/build/release
zip_file=$out/$name-win64.zip
mkdir -p "$out"
stage=$(mktemp -d "$out/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
folder=$stage/$name
mkdir "$folder"

cp build/windows/Framewright.exe build/windows/FramewrightCli.exe "$folder/"
# The packaged copies without symbols and debug sections (the latter all from the MinGW-w64
# runtime linked in; the Release build compiles ours without): about a third of the size. The
# build's own programs keep them.
strip_tool=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' build/windows/CMakeCache.txt)
"${strip_tool:?no CMAKE_STRIP in build/windows/CMakeCache.txt}" --strip-all "$folder"/*.exe
# The text files with Windows line ends, as Windows' editors and the tool's own settings files
# have them.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
sed "s/@VERSION@/$version/g" packaging/README.txt >"$stage/README.txt"
crlf "$stage/README.txt" "$folder/README.txt"
crlf docs/settings.md "$folder/settings.md"
crlf packaging/Framewright.ini.sample "$folder/Framewright.ini.sample"
crlf LICENSE "$folder/LICENSE.txt"

rm -f "$out"/Framewright-*-win64.zip
# -X: no Unix owner fields; the zip is written beside and moved, so a failed run leaves none.
(cd "$stage" && zip -q -X -r "$stage/package.zip" "$name")
mv "$stage/package.zip" "$zip_file"
echo "$zip_file ($(stat -c %s "$zip_file") bytes):"
unzip -l "$zip_file" | sed -n '4,$p' | awk 'NF == 4 {print "  " $4 " (" $1 " bytes)"}'
