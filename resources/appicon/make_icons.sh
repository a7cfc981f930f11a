#!/usr/bin/env bash
# Renders the program icon's PNG sizes from portiqa.svg (needs rsvg-convert from librsvg2-bin).
# The PNGs are committed, so a build never needs this script.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" portiqa.svg -o "portiqa-$size.png"
done
