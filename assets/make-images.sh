#!/bin/sh
# Draws the face-plate picture and the window icon (needs ImageMagick, and g++ with Qt's development files for
# the stretched face plate). The PNGs are committed; run this only to change them.
set -e
cd "$(dirname "$0")"
W=575; H=1061
# Six button recesses, two columns of three, where the button rows sit over the picture.
buttons=""
for row in 0 1 2; do
  y=$((150 + row * 226))
  buttons="$buttons roundrectangle 90,$y 270,$((y + 170)) 14,14 roundrectangle 305,$y 485,$((y + 170)) 14,14"
done
convert -size ${W}x${H} xc:'#b4b4b4' \
  -fill '#a2a2a2' -draw "roundrectangle 40,40 535,1021 30,30" \
  -fill '#8c8c8c' -stroke '#6e6e6e' -strokewidth 3 -draw "$buttons" \
  -fill '#3c3c3c' -stroke none -draw "rectangle 18,660 88,830" \
  -fill '#d8b040' -draw "circle 38,690 38,698 circle 68,690 68,698 circle 38,745 38,753 circle 68,745 68,753 circle 38,800 38,808 circle 68,800 68,808" \
  -fill '#7a7a7a' -draw "circle 287,80 287,92 circle 287,981 287,993" \
  -raise 14 -units PixelsPerInch -density 300 -type TrueColor -define png:color-type=2 PNG24:faceplate.png
# The face plate as the window draws it at a device pixel ratio of 1 (313 x 337 pixels: its place in the
# layout), stretched by the window's own code (ui/face_plate.h), so that start-up need not decode and stretch
# the large picture.
tool="$(mktemp -d)"
trap 'rm -rf "$tool"' EXIT
# shellcheck disable=SC2046 # pkg-config gives several words
g++ -std=c++17 -fPIC -I.. stretch-face-plate.cpp -o "$tool/stretch-face-plate" $(pkg-config --cflags --libs Qt6Widgets)
"$tool/stretch-face-plate" faceplate.png 313 337 faceplate-313x337.png
convert -size 40x40 xc:'#b4b4b4' \
  -fill '#8c8c8c' -stroke '#5a5a5a' -strokewidth 1 \
  -draw "roundrectangle 7,5 19,13 3,3 roundrectangle 21,5 33,13 3,3 roundrectangle 7,16 19,24 3,3 roundrectangle 21,16 33,24 3,3 roundrectangle 7,27 19,35 3,3 roundrectangle 21,27 33,35 3,3" \
  -raise 2 -type TrueColor -define png:color-type=2 PNG24:icon.png
# The same icon drawn again at each desktop (hicolor) size, on that size's pixel grid rather than blown up
# from the 40-pixel one: gaps and strokes stay at least a pixel wide.
mkdir -p icons
for s in 16 24 32 48 64 128 256; do
  set -- $(awk -v s="$s" 'function r(v) { return int(v + 0.5) } BEGIN {
    k = s / 40; sw = r(k); if (sw < 1) sw = 1; raise = r(2 * k); if (raise < 1) raise = 1
    rad = 3 * k; if (rad < 1) rad = 1
    w = r(13 * k); g = r(k); if (g < 1) g = 1; left = int((s - 2 * w - g) / 2)
    h = r(9 * k); vg = r(2 * k); if (vg < 1) vg = 1; top = int((s - 3 * h - 2 * vg) / 2)
    printf "%d %d", sw, raise
    for (row = 0; row < 3; row++) for (col = 0; col < 2; col++) {
      x = left + col * (w + g); y = top + row * (h + vg)
      printf " roundrectangle %g,%g %g,%g %g,%g", x - 0.5 + sw / 2, y - 0.5 + sw / 2,
             x + w - 0.5 - sw / 2, y + h - 0.5 - sw / 2, rad, rad
    }
  }')
  stroke=$1 raise=$2
  shift 2
  convert -size ${s}x${s} xc:'#b4b4b4' -fill '#8c8c8c' -stroke '#5a5a5a' -strokewidth "$stroke" -draw "$*" \
    -raise "$raise" -type TrueColor -define png:color-type=2 -define png:exclude-chunks=date,time PNG24:"icons/icon-$s.png"
done
