#!/bin/bash
# Screenshots of the skinned main window's look under Xvfb: the window as
# shown, with the mouse over the close and the minimise button, and with the
# close button pressed. Saved to build/demo/skin-*.png (a 560 x 360 crop
# around the window). The demo may call it; it needs no update server.
# With WINE_DPI=144 (or another scale): at that display scale, saved to
# build/demo/dpi144/skin-*.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target skin_showcase >/dev/null
DPI="${WINE_DPI:-96}"
OUT="$ROOT/build/demo"
[ "$DPI" = 96 ] || OUT="$OUT/dpi$DPI"
mkdir -p "$OUT"
px() { echo $(( ($1 * DPI + 48) / 96 )); }  # a 96-DPI length at the scale
. scripts/xvfb-lib.sh
use_xvfb
for phase in normal close minimise pressed; do
    scripts/wine-run "$ROOT/build/win64/bin/skin_showcase.exe" "$phase" 4 &
    SHOWCASE=$!
    sleep 2.5
    import -display "$DISPLAY" -window root -crop "$(px 560)x$(px 360)+$(px 20)+$(px 20)" +repage "$OUT/skin-$phase.png"
    echo "screenshot: ${OUT#$ROOT/}/skin-$phase.png"
    wait "$SHOWCASE" || true
done
