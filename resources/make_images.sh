#!/bin/bash
# Regenerates the program's embedded images in resources/images/ with
# ImageMagick: the caption-button, check-box and arrow glyphs (32-bit RGBA
# PNG) and the window background (8-bit greyscale baseline JPEG).
#   resources/make_images.sh
set -euo pipefail

OUT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/images"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"

# Metadata-free, reproducible PNG files with an alpha channel.
png_options=(-strip -define png:exclude-chunks=date,time,tIME -define png:color-type=6 -define png:bit-depth=8)

# White shape on a transparent ground ($1: size, rest: -draw primitives).
white_shape() {
    local size="$1" target="$2"
    shift 2
    convert -size "$size" xc:none -fill white -stroke none "$@" "$target"
}

# Lays a soft dark shadow (blurred, one pixel down and right) under a shape.
with_shadow() {
    local shape="$1" target="$2" size
    size=$(identify -format '%wx%h' "$shape")
    convert "$shape" -alpha extract -blur 0x0.7 -evaluate multiply 0.65 "$WORK/shadow-alpha.png"
    convert -size "$size" xc:black "$WORK/shadow-alpha.png" -alpha off -compose CopyOpacity -composite \
        -roll +1+1 "$WORK/shadow.png"
    convert "$WORK/shadow.png" "$shape" -compose Over -composite "${png_options[@]}" "PNG32:$target"
}

# Caption buttons.
white_shape 38x18 "$WORK/dialog-close.png" -stroke white -strokewidth 1.8 \
    -draw "line 15,5 22,12" -draw "line 22,5 15,12"
with_shadow "$WORK/dialog-close.png" "$OUT/dialog_close.png"

# A bevelled cross: a broad light-grey body with a white ridge along it.
convert -size 38x18 xc:none -fill none \
    -stroke '#b8b8b8' -strokewidth 3.4 -draw "line 15,4 22,11" -draw "line 22,4 15,11" \
    -stroke white -strokewidth 1.4 -draw "line 15,4 22,11" -draw "line 22,4 15,11" \
    "$WORK/form-close.png"
with_shadow "$WORK/form-close.png" "$OUT/form_close.png"

# Speech balloon: rounded outline with a tail at the lower left.
convert -size 26x18 xc:none -fill none -stroke white -strokewidth 1.2 \
    -draw "roundrectangle 6.5,2.5 18.5,10.5 3,3" \
    -stroke none -fill white -draw "polygon 9,10 9,14.5 13,10" \
    -draw "rectangle 11,6 13,7" "$WORK/help.png"
with_shadow "$WORK/help.png" "$OUT/help.png"

# Window with text lines and a corner mark.
white_shape 26x18 "$WORK/main-menu.png" \
    -draw "rectangle 7,3 18,3" -draw "rectangle 7,4 18,4" -draw "rectangle 7,13 18,13" \
    -draw "rectangle 7,3 7,13" -draw "rectangle 18,3 18,13" \
    -draw "rectangle 9,6 14,6" -draw "rectangle 9,8 14,8" -draw "rectangle 9,10 12,10" \
    -draw "polygon 14,12 17,12 17,9"
with_shadow "$WORK/main-menu.png" "$OUT/main_menu.png"

white_shape 26x18 "$WORK/minimise.png" -draw "rectangle 9,11 16,12"
with_shadow "$WORK/minimise.png" "$OUT/minimise.png"

# Empty frame with a thick top edge.
white_shape 26x18 "$WORK/maximise.png" \
    -draw "rectangle 8,3 17,4" -draw "rectangle 8,13 17,13" \
    -draw "rectangle 8,3 8,13" -draw "rectangle 17,3 17,13"
with_shadow "$WORK/maximise.png" "$OUT/maximise.png"

# Two frames: the back one shows only where the front one does not cover it.
white_shape 26x18 "$WORK/restore.png" \
    -draw "rectangle 10,2 18,3" -draw "rectangle 18,2 18,10" -draw "rectangle 16,10 18,10" \
    -draw "rectangle 10,2 10,5" \
    -draw "rectangle 7,6 15,7" -draw "rectangle 7,14 15,14" \
    -draw "rectangle 7,6 7,14" -draw "rectangle 15,6 15,14"
with_shadow "$WORK/restore.png" "$OUT/restore.png"

# Check boxes: opaque, no shadow.
convert -size 13x13 xc:none -fill '#404040' -draw "rectangle 0,0 12,12" \
    -fill '#f6f6f6' -draw "rectangle 1,1 11,11" "${png_options[@]}" "PNG32:$OUT/check_off.png"
convert -size 13x13 xc:none -fill '#2f6fc0' -draw "rectangle 0,0 12,12" \
    -fill white -draw "rectangle 1,1 11,11" \
    -fill none -stroke '#0c3a86' -strokewidth 1.7 -draw "polyline 3,6.5 5.5,9 10,3.5" \
    "${png_options[@]}" "PNG32:$OUT/check_on.png"

# Arrows: near-black triangles, one pixel row or column at a time.
arrow_colour='#202020'
convert -size 7x4 xc:none -fill "$arrow_colour" \
    -draw "rectangle 0,0 6,0" -draw "rectangle 1,1 5,1" -draw "rectangle 2,2 4,2" -draw "point 3,3" \
    "${png_options[@]}" "PNG32:$OUT/arrow_down.png"
convert "$OUT/arrow_down.png" -flip "${png_options[@]}" "PNG32:$OUT/arrow_up.png"
convert -size 4x7 xc:none -fill "$arrow_colour" \
    -draw "point 0,3" -draw "rectangle 1,2 1,4" -draw "rectangle 2,1 2,5" -draw "rectangle 3,0 3,6" \
    "${png_options[@]}" "PNG32:$OUT/arrow_left.png"
convert "$OUT/arrow_left.png" -flop "${png_options[@]}" "PNG32:$OUT/arrow_right.png"

# Window background: a light, faintly mottled surface with a grey crack
# spreading from its middle. The crack is a fixed random walk (seeded) of
# branches; each is drawn as a blurred dark shade, a dark line and a light
# edge beside it.
awk 'BEGIN {
    srand(20240611);
    pi = 3.14159265;
    n = 0;
    for (b = 0; b < 7; b++) {
        x = 512; y = 384; angle = b * 2 * pi / 7 + rand() * 0.6;
        steps = 14 + int(rand() * 10);
        path = x "," y;
        for (s = 0; s < steps; s++) {
            angle += (rand() - 0.5) * 0.9;
            len = 10 + rand() * 16;
            x += cos(angle) * len; y += sin(angle) * len;
            path = path " " int(x) "," int(y);
            if (rand() < 0.18) {
                bx = x; by = y; ba = angle + (rand() < 0.5 ? -1 : 1) * (0.6 + rand() * 0.6);
                twig = int(bx) "," int(by);
                for (t = 0; t < 4 + int(rand() * 5); t++) {
                    ba += (rand() - 0.5) * 0.8;
                    l = 6 + rand() * 10;
                    bx += cos(ba) * l; by += sin(ba) * l;
                    twig = twig " " int(bx) "," int(by);
                }
                twigs[n++] = twig;
            }
        }
        main[b] = path;
    }
    for (b = 0; b < 7; b++) print "main " main[b];
    for (i = 0; i < n; i++) print "twig " twigs[i];
}' >"$WORK/crack.txt"

draw_paths() {  # $1: main or twig
    grep "^$1 " "$WORK/crack.txt" | cut -d' ' -f2- | while read -r path; do
        # Segment by segment: ImageMagick 6 closes polylines wider than 2 pixels.
        printf -- "-draw\0stroke-linecap round %s\0" "$(echo "$path" | awk '{for (i = 1; i < NF; i++) printf "line %s %s ", $i, $(i + 1)}')"
    done
}
mapfile -d '' main_paths < <(draw_paths main)
mapfile -d '' twig_paths < <(draw_paths twig)

convert -size 1024x768 xc:'#f0f0f0' -seed 7 -attenuate 0.25 +noise Gaussian -blur 0x6 \
    \( -size 1024x768 radial-gradient:'#ffffff-#e2e2e2' \) -compose Multiply -composite \
    "$WORK/ground.png"
convert -size 1024x768 xc:white -fill none -stroke '#909090' -strokewidth 7 "${main_paths[@]}" \
    -strokewidth 4 "${twig_paths[@]}" -blur 0x5 "$WORK/crack-shade.png"
convert -size 1024x768 xc:black -fill none -stroke '#a0a0a0' -strokewidth 2 "${main_paths[@]}" \
    -strokewidth 1 "${twig_paths[@]}" -roll +2+2 "$WORK/crack-light.png"
convert -size 1024x768 xc:white -fill none -stroke '#505050' -strokewidth 2.2 "${main_paths[@]}" \
    -strokewidth 1.2 "${twig_paths[@]}" "$WORK/crack-line.png"
convert "$WORK/ground.png" "$WORK/crack-shade.png" -compose Multiply -composite \
    "$WORK/crack-light.png" -compose Screen -composite \
    "$WORK/crack-line.png" -compose Multiply -composite \
    -colorspace Gray -type Grayscale -depth 8 -strip -interlace None -sampling-factor 1x1 -quality 72 \
    "JPEG:$OUT/background.jpg"

ls -l "$OUT"
