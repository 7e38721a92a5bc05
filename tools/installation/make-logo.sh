#!/usr/bin/env bash
# Draws the tray icon (a mouse outline on a dark tile) and writes it as a multi-size .ico.
#   tools/installation/make-logo.sh OUTPUT.ico      (needs ImageMagick's convert)
set -euo pipefail
out=${1:?usage: make-logo.sh OUTPUT.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#1a1a1a' -stroke none -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill '#cf3e00' -draw 'roundrectangle 72,28 183,227 56,56' \
  -stroke '#1a1a1a' -strokewidth 10 -draw 'line 72,110 183,110' -draw 'line 128,28 128,110' \
  -stroke none -fill '#f2f2f2' -draw 'roundrectangle 117,50 139,90 11,11' \
  -strip -depth 8 "$work/logo-256.png"
for size in 48 32 16; do
  convert "$work/logo-256.png" -filter Lanczos -resize ${size}x${size} -strip -depth 8 "$work/logo-$size.png"
done
convert "$work/logo-16.png" "$work/logo-32.png" "$work/logo-48.png" "$work/logo-256.png" "$out"
