#!/usr/bin/env bash
# Draws the tool's icon (a small camera body with a lens and a flash) at 32x32 and 16x16 with
# ImageMagick and packs both into framewright.ico. Run from any folder; rewrites res/framewright.ico.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 32x32 xc:none \
  -fill '#2E3A48' -draw 'roundrectangle 2,9 29,27 4,4' \
  -fill '#2E3A48' -draw 'rectangle 10,5 19,9' \
  -fill '#F2B705' -draw 'rectangle 23,11 26,13' \
  -fill '#DDE6EE' -draw 'circle 15,18 15,11' \
  -fill '#1E88E5' -draw 'circle 15,18 15,14' \
  -fill '#FFFFFF' -draw 'circle 13,16 13,15' \
  "$tmp/32.png"
convert "$tmp/32.png" -resize 16x16 "$tmp/16.png"
convert "$tmp/32.png" "$tmp/16.png" framewright.ico
