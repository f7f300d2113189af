#!/usr/bin/env bash
# Registers the virtual camera in the Wine prefix given as the only argument, with the cameras
# of FRAMEWRIGHT_VCAM_CONFIG (one default camera when unset). scripts/wine-session.sh calls it
# through FRAMEWRIGHT_VCAM_PREPARE once the prefix is ready.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config=${FRAMEWRIGHT_VCAM_CONFIG:-$root/vcam/configs/one-camera.cfg}
dll=${FRAMEWRIGHT_VCAM_DLL:-$root/build/windows/framewright_vcam.dll}
exec bash "$root/vcam/prefix.sh" prepare "$1" "$dll" "$config"
