#!/bin/sh
# Draws the face-plate picture and the window icon (needs ImageMagick). The PNGs are committed;
# run this only to change them.
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
convert -size 40x40 xc:'#b4b4b4' \
  -fill '#8c8c8c' -stroke '#5a5a5a' -strokewidth 1 \
  -draw "roundrectangle 7,5 19,13 3,3 roundrectangle 21,5 33,13 3,3 roundrectangle 7,16 19,24 3,3 roundrectangle 21,16 33,24 3,3 roundrectangle 7,27 19,35 3,3 roundrectangle 21,27 33,35 3,3" \
  -raise 2 -type TrueColor -define png:color-type=2 PNG24:icon.png
