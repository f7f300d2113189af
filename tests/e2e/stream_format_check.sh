#!/usr/bin/env bash
# The stream format code of the Windows build against a pin of the check program's own: format
# requests in the framework's VIDEOINFOHEADER and VIDEOINFOHEADER2 records, and caps records read
# in the size the pin reports.
. "$(dirname "$0")/e2e_lib.sh"
e2e_require "$WINDOWS_BUILD/stream_format_check.exe"
e2e_begin stream_format_check
ws_run "$E2E_PREFIX" 60 "$WINDOWS_BUILD/stream_format_check.exe" 2>"$E2E_TMP/check.err" |
    tr -d '\r' >"$E2E_TMP/check.out"
status=${PIPESTATUS[0]}
grep -E '^(FAIL|ok)' "$E2E_TMP/check.out" | grep '^FAIL' || true
check_eq "every check of the program passed (exit code)" "0" "$status"
check_eq "the program ran to its end" "0 failed" "$(tail -n 1 "$E2E_TMP/check.out")"
e2e_end
