#!/bin/bash
# Screenshots of the skinned push buttons, edit and combo boxes under Xvfb:
# the form as shown, with the mouse over the default button, the single-line
# edit and the drop-down list, with the focused button left by the mouse, and
# the updater's own main window with the mouse over its information box.
# Saved to build/demo/controls-*.png (a 640 x 420 crop around the form).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target controls_showcase >/dev/null
OUT="$ROOT/build/demo"
mkdir -p "$OUT"
. scripts/xvfb-lib.sh
use_xvfb
for phase in normal button edit combo focus updater; do
    scripts/wine-run "$ROOT/build/win64/bin/controls_showcase.exe" "$phase" 4 &
    SHOWCASE=$!
    sleep 3
    import -display "$DISPLAY" -window root -crop 640x420+30+30 +repage "$OUT/controls-$phase.png"
    echo "screenshot: build/demo/controls-$phase.png"
    wait "$SHOWCASE" || true
done
