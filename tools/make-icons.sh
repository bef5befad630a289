#!/usr/bin/env bash
# Renders the PNG icons from packaging/icons/tarnlist.svg. The PNGs are kept in
# the repository so that building needs no SVG renderer; run this after
# changing the SVG and commit the result (needs rsvg-convert, librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --format png --output "tarnlist-$size.png" tarnlist.svg
done
