#!/bin/bash
# Screenshots of the control gallery under Xvfb: the skinned form with every
# control class the skin engine paints, saved to build/gallery/gallery.png
# (the whole form) and one crop per section (build/gallery/<section>.png).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target gallery >/dev/null
OUT="$ROOT/build/gallery"
mkdir -p "$OUT"
. scripts/xvfb-lib.sh
use_xvfb 79
scripts/wine-run "$ROOT/build/win64/bin/gallery.exe" 5 &
GALLERY=$!
sleep 3.5
# The form is made at (40, 40), 800 x 550; sections are 260 x 250 cells
# from (50, 80), three to a row.
import -display "$DISPLAY" -window root -crop 800x550+40+40 +repage "$OUT/gallery.png"
echo "screenshot: build/gallery/gallery.png"
SECTIONS=(progress statics panels toolbars buttons edits)
for i in "${!SECTIONS[@]}"; do
    x=$((50 + (i % 3) * 260))
    y=$((80 + (i / 3) * 250))
    convert "$OUT/gallery.png" -crop 260x250+$((x - 40))+$((y - 40)) +repage "$OUT/${SECTIONS[$i]}.png"
done
wait "$GALLERY" || true
