#!/usr/bin/env bash
# Builds everything and runs every test: host tests and fuzz targets (a short run each) built with
# clang's address and undefined-behaviour sanitizers, then host tests against the simulated desktop
# and a smoke run of the benchmarks, then the end-to-end scenarios of the real executables under
# Wine with the virtual camera and of the release package, which is made first (scripts/release.sh).
# Each scenario has a display and a prefix of its own, so three run side by side (docs/testing.md).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
bash scripts/release.sh >/dev/null
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j"$(nproc 2>/dev/null || echo 2)"
ctest --test-dir build/sanitize --output-on-failure -j"$(nproc 2>/dev/null || echo 2)"
ctest --test-dir build/host --output-on-failure -j"$(nproc 2>/dev/null || echo 2)" -LE e2e
ctest --test-dir build/host --output-on-failure -j3 -L e2e
