#!/usr/bin/env bash
# Draws the program's icon tessarel.ico (32 and 16 pixels) into this folder.
# The output is committed, so building never needs ImageMagick; run this
# again after changing it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# A blue disc of cluster blocks, the colours of the skin.
convert -size 32x32 xc:none \
  -fill '#1f3b5c' -draw 'circle 16,16 16,1' \
  -fill '#2f6db5' -draw 'rectangle 8,8 15,15' -draw 'rectangle 17,8 24,15' \
  -fill '#eef2f7' -draw 'rectangle 8,17 15,24' \
  -fill '#e0a020' -draw 'rectangle 17,17 24,24' \
  -define icon:auto-resize=32,16 tessarel.ico
