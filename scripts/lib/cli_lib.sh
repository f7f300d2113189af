#!/usr/bin/env bash
# Running FramewrightCli.exe in the test's working folder and prefix: its output, errors and exit
# code for the checks.
. "$(dirname "${BASH_SOURCE[0]}")/capture_lib.sh"

E2E_CLI=$WINDOWS_BUILD/FramewrightCli.exe

# cli ARGS...: one call; CLI_EXIT its exit code as Wine reports it, CLI_OUT and CLI_ERR its two
# streams without the CR of their line ends.
cli() {
    (cd "$E2E_WORK" && ws_run "$E2E_PREFIX" 120 "$E2E_CLI" "$@" \
        >"$E2E_TMP/cli.out" 2>"$E2E_TMP/cli.err")
    CLI_EXIT=$?
    CLI_OUT=$(tr -d '\r' <"$E2E_TMP/cli.out")
    CLI_ERR=$(tr -d '\r' <"$E2E_TMP/cli.err")
}

# json_value PATH...: a member of CLI_OUT's JSON document, e.g. json_value Brightness value.
json_value() {
    printf '%s' "$CLI_OUT" | python3 -c '
import json, sys
value = json.load(sys.stdin)
for key in sys.argv[1:]:
    value = value[int(key)] if isinstance(value, list) else value[key]
print(json.dumps(value))' "$@"
}

# property_requests: the camera's log of property requests (not the interface queries, bindings,
# streams or formats).
property_requests() { camera_log ' (procamp|cameracontrol|vendor) (get|set|range) '; }
