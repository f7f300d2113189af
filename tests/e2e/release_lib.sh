#!/usr/bin/env bash
# The release package of the project's version for the release tests: FRAMEWRIGHT_PROJECT_VERSION
# (CMake's PROJECT_VERSION, passed by tests/e2e/CMakeLists.txt) and the zip scripts/release.sh
# wrote to FRAMEWRIGHT_RELEASE_DIR (default build/release).
. "$(dirname "${BASH_SOURCE[0]}")/cli_lib.sh"

RELEASE_VERSION=${FRAMEWRIGHT_PROJECT_VERSION:?the project version is passed by CMake}
RELEASE_DIR=${FRAMEWRIGHT_RELEASE_DIR:-$E2E_ROOT/build/release}
RELEASE_NAME=Framewright-$RELEASE_VERSION
RELEASE_ZIP=$RELEASE_DIR/$RELEASE_NAME-win64.zip

# release_require: skips the test when no package was made, fails it when the package there is of
# another version than the project's.
release_require() {
    if [ -f "$RELEASE_ZIP" ]; then
        return
    fi
    local others
    others=$(cd "$RELEASE_DIR" 2>/dev/null && ls -1 -- Framewright-*-win64.zip 2>/dev/null | paste -sd ' ')
    if [ -z "$others" ]; then
        echo "SKIP: $RELEASE_ZIP is not built (bash scripts/release.sh)"
        exit 77
    fi
    echo "FAIL: the project's version is $RELEASE_VERSION, the package in $RELEASE_DIR is $others"
    exit 1
}

# release_unpack DIR: the zip unpacked into DIR; RELEASE_FOLDER is then its one folder there.
release_unpack() {
    mkdir -p "$1"
    unzip -q "$RELEASE_ZIP" -d "$1"
    RELEASE_FOLDER=$1/$RELEASE_NAME
}
