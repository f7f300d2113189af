#!/usr/bin/env bash
# Registers the virtual camera in a Wine prefix, and unplugs cameras from it.
#
#   vcam/prefix.sh prepare PREFIXDIR DLLPATH CONFIG
#       Creates the prefix (wineboot -i) if it has none, registers the DLL where it lies with
#       ThreadingModel "Both" and the cameras of CONFIG in their categories (the DLL's own
#       DllRegisterServer, run by regsvr32, reads CONFIG; Instance keys of earlier registrations
#       are removed first), re-plugs every camera, and waits until the registry is on disk.
#       CONFIG is recorded in the registry, so programs find it without FRAMEWRIGHT_VCAM_CONFIG.
#       The stand-in converter framewright_convert.dll beside DLLPATH (or FRAMEWRIGHT_CONVERT_DLL)
#       is registered too: Wine 8 has no filter from YUY2 or MJPG to RGB24 (docs/vcam.md).
#   vcam/prefix.sh plug PREFIXDIR DLLPATH CONFIG
#       The registration of prepare in a prefix whose programs are running (a camera arrives):
#       neither wineboot nor the wait for the registry on disk, which waits for the wineserver to
#       end and so for every program in the prefix.
#   vcam/prefix.sh unplug PREFIXDIR INDEX
#       Marks camera INDEX removed (requests to it fail from now on, also in running programs)
#       and deletes its Instance keys, so the device enumerator no longer lists it.
#
# Every wine call has a time-out and runs with winedbg disabled, so a crash cannot hang it.
set -u

VIDEO_CATEGORY='{860BB310-5D01-11D0-BD3B-00A0C911CE86}'
CAPTURE_CATEGORY='{65E8773D-8F56-11D0-A3B9-00A0C9223196}'

die() {
    echo "prefix.sh: $*" >&2
    exit 1
}

absolute() {
    case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s/%s\n' "$(pwd)" "$1" ;;
    esac
}

# /a/b -> Z:\a\b, the way the prefix's drive Z: reaches the Unix root.
windows_path() {
    printf 'Z:%s\n' "${1//\//\\}"
}

in_prefix() {
    local limit=$1
    shift
    WINEPREFIX=$PREFIX WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d" WINEDEBUG=-all \
        timeout "$limit" "$@"
}

# The unplug file as the camera finds it: FRAMEWRIGHT_VCAM_UNPLUG (a Unix path) or the default
# C:\framewright_vcam\unplugged.txt of the prefix.
unplug_file() {
    if [ -n "${FRAMEWRIGHT_VCAM_UNPLUG:-}" ]; then
        printf '%s\n' "$FRAMEWRIGHT_VCAM_UNPLUG"
    else
        printf '%s\n' "$PREFIX/drive_c/framewright_vcam/unplugged.txt"
    fi
}

# regsvr32_in_prefix DLL: the DLL's DllRegisterServer run by regsvr32. Every `wine PROGRAM` is
# started by Wine's start.exe, whose start of the program itself fails now and then under load
# ("ShellExecuteEx failed: Internal error.", docs/wine-notes.md): then it is started once more.
# A failure says what regsvr32 and Wine printed.
regsvr32_in_prefix() {
    local out attempt
    for attempt in 1 2; do
        out=$(in_prefix 60 wine regsvr32 /s "$(windows_path "$1")" 2>&1) && return 0
        case $out in
        *"ShellExecuteEx failed"*) echo "prefix.sh: Wine's start.exe could not start regsvr32 for $1 (attempt $attempt)" >&2 ;;
        *) break ;;
        esac
    done
    die "regsvr32 failed for $1: ${out:-no output}"
}

# register DLL CONFIG: the DLL's own DllRegisterServer (through regsvr32) writes the cameras of
# CONFIG into the prefix in $PREFIX, and every camera is plugged in again.
register() {
    local dll config
    dll=$(absolute "$1")
    config=$(absolute "$2")
    [ -f "$dll" ] || die "no DLL at $dll"
    [ -f "$config" ] || die "no configuration at $config"
    rm -f "$(unplug_file)"
    FRAMEWRIGHT_VCAM_CONFIG=$config regsvr32_in_prefix "$dll"
    register_converter "$(dirname "$dll")"
}

# The converter that lets a YUY2 or MJPG camera reach an RGB24 sample grabber, as Windows' own
# converters do. A build without it (only the camera's targets) leaves the prefix without one.
register_converter() {
    local converter
    converter=$(absolute "${FRAMEWRIGHT_CONVERT_DLL:-$1/framewright_convert.dll}")
    if [ ! -f "$converter" ]; then
        echo "prefix.sh: no converter at $converter: YUY2 and MJPG cameras will not reach RGB24" >&2
        return 0
    fi
    regsvr32_in_prefix "$converter"
}

prepare() {
    [ $# -eq 3 ] || die "usage: prepare PREFIXDIR DLLPATH CONFIG"
    PREFIX=$(absolute "$1")
    mkdir -p "$PREFIX" || die "cannot create $PREFIX"
    if [ ! -f "$PREFIX/system.reg" ]; then
        in_prefix 180 wineboot -i >/dev/null 2>&1 || die "wineboot -i failed in $PREFIX"
    fi
    mkdir -p "$PREFIX/drive_c/framewright_vcam"
    register "$2" "$3"
    # The registry reaches system.reg lazily; later readers of the files need it there.
    WINEPREFIX=$PREFIX timeout 60 wineserver -w || die "wineserver -w timed out"
}

# An arrival while programs run in the prefix: only the registration (wineserver -w would wait
# for every running program to end).
plug() {
    [ $# -eq 3 ] || die "usage: plug PREFIXDIR DLLPATH CONFIG"
    PREFIX=$(absolute "$1")
    [ -f "$PREFIX/system.reg" ] || die "no prefix at $PREFIX"
    register "$2" "$3"
}

unplug() {
    [ $# -eq 2 ] || die "usage: unplug PREFIXDIR INDEX"
    PREFIX=$(absolute "$1")
    local index=$2 key file
    case "$index" in
    '' | *[!0-9]*) die "INDEX must be a number" ;;
    esac
    key=$(printf 'vcam%02d' "$index")
    local category
    # The keys go first: a program that sees its requests fail and looks again must no longer
    # find the camera (each wine reg call takes about a second).
    for category in "$VIDEO_CATEGORY" "$CAPTURE_CATEGORY"; do
        # Absent keys (a camera listed in one category only) are not an error.
        in_prefix 60 wine reg delete \
            "HKLM\\Software\\Classes\\CLSID\\$category\\Instance\\$key" /f >/dev/null 2>&1
    done
    file=$(unplug_file)
    mkdir -p "$(dirname "$file")"
    printf 'removed %d\r\n' "$index" >>"$file"
    return 0
}

command=${1:-}
[ $# -gt 0 ] && shift
case "$command" in
prepare) prepare "$@" ;;
plug) plug "$@" ;;
unplug) unplug "$@" ;;
*) die "usage: prefix.sh prepare|plug PREFIXDIR DLLPATH CONFIG | unplug PREFIXDIR INDEX" ;;
esac
