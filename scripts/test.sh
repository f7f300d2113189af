#!/usr/bin/env bash
# Builds everything and runs every test: host tests against the simulated desktop, then the
# end-to-end tests of the real executable under Wine with the virtual camera.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build/host --output-on-failure -j1
