#!/usr/bin/env bash
# Builds everything and runs every test: host tests and fuzz targets (a short run each) built with
# clang's address and undefined-behaviour sanitizers, then host tests against the simulated desktop
# and a smoke run of the benchmarks, then the end-to-end scenarios of the real executables under
# Wine with the virtual camera and of the release package, which is made first (scripts/release.sh).
# Each scenario has a display and a prefix of its own, so three run side by side (docs/testing.md),
# and they run while the sanitized build is made and tested: they need only the host and Windows
# builds, and spend most of their time waiting for the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
bash scripts/release.sh >/dev/null
jobs=$(nproc 2>/dev/null || echo 2)
e2e_log=build/host/e2e-stage.log
ctest --test-dir build/host --output-on-failure -j3 -L e2e >"$e2e_log" 2>&1 &
e2e_stage=$!
# The scenarios are ended with this script when a stage before their end fails.
trap 'kill "$e2e_stage" 2>/dev/null' EXIT
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure -j"$jobs"
ctest --test-dir build/host --output-on-failure -j"$jobs" -LE e2e
e2e_status=0
wait "$e2e_stage" || e2e_status=$?
trap - EXIT
cat "$e2e_log"
exit "$e2e_status"
