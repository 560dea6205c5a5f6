#!/bin/bash
# Screenshots of the control gallery under Xvfb: the skinned form with every
# control class the skin engine paints, saved to build/gallery/gallery.png
# and gallery2.png (the whole form of each page) and one crop per section
# (build/gallery/<section>.png); then one crop per keyboard-focus cue
# (build/gallery/focus-<control>.png). With WINE_DPI=144 (or another scale)
# the same pictures at that display scale, in build/gallery/dpi144/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target gallery >/dev/null
DPI="${WINE_DPI:-96}"
OUT="$ROOT/build/gallery"
[ "$DPI" = 96 ] || OUT="$OUT/dpi$DPI"
mkdir -p "$OUT"
px() { echo $(( ($1 * DPI + 48) / 96 )); }  # a 96-DPI length at the scale
. scripts/xvfb-lib.sh
use_xvfb
# Each page's form is made at (40, 40), 800 x 550; sections are 260 x 250
# cells from (50, 80), three to a row (at 96 DPI; scaled at another).
crop_section() {  # whole-form file, place of the section, file name
    local x=$((50 + ($2 % 3) * 260)) y=$((80 + ($2 / 3) * 250))
    local left top right bottom
    left=$(px $((x - 40))) top=$(px $((y - 40))) right=$(px $((x - 40 + 260))) bottom=$(px $((y - 40 + 250)))
    convert "$OUT/$1" -crop $((right - left))x$((bottom - top))+$left+$top +repage "$OUT/$3"
}
shoot_page() {  # page number, file name, section names... (FOCUS: a control to focus)
    local page=$1 file=$2
    shift 2
    local sections=("$@")
    scripts/wine-run "$ROOT/build/win64/bin/gallery.exe" 5 "$page" ${FOCUS:-} &
    local gallery=$!
    sleep 3.5
    import -display "$DISPLAY" -window root -crop "$(px 800)x$(px 550)+$(px 40)+$(px 40)" +repage "$OUT/$file"
    echo "screenshot: ${OUT#$ROOT/}/$file"
    for i in "${!sections[@]}"; do
        [ "${sections[$i]}" = - ] || crop_section "$file" "$i" "${sections[$i]}.png"
    done
    wait "$gallery" || true
}
shoot_page 1 gallery.png progress statics panels toolbars buttons edits
shoot_page 2 gallery2.png checks lists views headers tracks updowns
# The focus cues: a control given the keyboard focus, its section cropped.
# The buttons' crop shows the default button's ring beside the focus glow.
FOCUS=button shoot_page 1 focus-page1.png - - - - focus-button -
FOCUS=edit shoot_page 1 focus-page1.png - - - - - focus-edit
FOCUS=combo shoot_page 1 focus-page1.png - - - - - focus-combo
FOCUS=check shoot_page 2 focus-page2.png focus-check
FOCUS=radio shoot_page 2 focus-page2.png focus-radio
FOCUS=track shoot_page 2 focus-page2.png - - - - focus-track
rm -f "$OUT/focus-page1.png" "$OUT/focus-page2.png"
