#!/bin/bash
# Screenshots of the control gallery under Xvfb: the skinned form with every
# control class the skin engine paints, saved to build/gallery/gallery.png
# and gallery2.png (the whole form of each page) and one crop per section
# (build/gallery/<section>.png).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target gallery >/dev/null
OUT="$ROOT/build/gallery"
mkdir -p "$OUT"
. scripts/xvfb-lib.sh
use_xvfb
# Each page's form is made at (40, 40), 800 x 550; sections are 260 x 250
# cells from (50, 80), three to a row.
shoot_page() {  # page number, file name, section names...
    local page=$1 file=$2
    shift 2
    local sections=("$@")
    scripts/wine-run "$ROOT/build/win64/bin/gallery.exe" 5 "$page" &
    local gallery=$!
    sleep 3.5
    import -display "$DISPLAY" -window root -crop 800x550+40+40 +repage "$OUT/$file"
    echo "screenshot: build/gallery/$file"
    for i in "${!sections[@]}"; do
        local x=$((50 + (i % 3) * 260)) y=$((80 + (i / 3) * 250))
        convert "$OUT/$file" -crop 260x250+$((x - 40))+$((y - 40)) +repage "$OUT/${sections[$i]}.png"
    done
    wait "$gallery" || true
}
shoot_page 1 gallery.png progress statics panels toolbars buttons edits
shoot_page 2 gallery2.png checks lists views headers tracks updowns
