#!/usr/bin/env bash
# Builds the host targets (logic on the simulated desktop, host tests, benchmarks) and the Windows
# targets (Framewright.exe, the virtual camera, the Windows test programs).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset host >/dev/null
cmake --build build/host -j"$jobs"
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
