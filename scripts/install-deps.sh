#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, only when something is
# missing, so it is quick and safe to run again.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev clang-format g++-mingw-w64-x86-64
          wine wine64 xvfb openbox xdotool x11-utils imagemagick zip unzip
          python3-pytest python3-pefile # the end-to-end scenarios; version resources read
          libjpeg-turbo-progs # djpeg: the virtual camera's JPEG frames decoded independently
          clang-14 libclang-rt-14-dev) # the sanitize preset: sanitizers and libFuzzer
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
