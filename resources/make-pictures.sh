#!/usr/bin/env bash
# Draws the program's own pictures with ImageMagick (Debian package
# imagemagick) and the Liberation fonts (fonts-liberation2):
#   vidorun.png       the program icon, 32 x 32, 256 colours
#   vidorun-128.png   the same icon for desktop menus
#   vidorun.ico       the icon of the Windows executable, 16, 32, 48 and 256
#   codeclogo.jpg     the 72 x 56 badge telling that the movies need a codec
#   codeclogo.bmp     the same badge for Vidorun.exe
# The results are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

bold=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The icon, drawn large: a blue film frame with a row of sprocket holes at
# top and bottom and a yellow play triangle in the middle.
holes=""
for x in 30 70 110 150 190; do
  holes+="roundrectangle $x,34 $((x + 26)),54 5,5 "
  holes+="roundrectangle $x,202 $((x + 26)),222 5,5 "
done
convert -size 256x256 xc:none \
  -fill '#16357a' -stroke '#0b1d45' -strokewidth 6 -draw 'roundrectangle 10,14 245,241 30,30' \
  -stroke none -fill '#f4f4f4' -draw "$holes" \
  -fill '#2f6fd6' -draw 'rectangle 28,68 227,188' \
  -fill '#ffd21f' -stroke '#8a5a00' -strokewidth 5 -draw 'polygon 98,84 98,172 178,128' \
  "$work/icon.png"

convert "$work/icon.png" -resize 128x128 -strip -depth 8 vidorun-128.png
convert "$work/icon.png" -resize 32x32 -strip -colors 256 PNG8:vidorun.png
convert "$work/icon.png" -strip -depth 8 \
  \( -clone 0 -resize 16x16 \) \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 48x48 \) \
  \( -clone 0 -resize 256x256 \) -delete 0 vidorun.ico

# The codec badge, on the window's grey so its corners blend in.
convert -size 72x56 xc:'#f0f0f0' \
  -fill '#b3261e' -stroke '#6e1410' -strokewidth 2 -draw 'roundrectangle 2,2 69,53 8,8' \
  -stroke none -fill white -font "$bold" -pointsize 15 -gravity north \
  -annotate +0+5 'VIDEO' -annotate +0+20 'CODEC' \
  -fill '#ffe082' -font "$regular" -pointsize 10 -annotate +0+37 'needed' \
  "$work/badge.png"
convert "$work/badge.png" -strip -quality 92 codeclogo.jpg
# Vidorun.exe shows it as the system loads a bitmap, with no picture decoder
# before its window is up: 256 colours, uncompressed.
convert "$work/badge.png" -strip -colors 256 -compress none BMP3:codeclogo.bmp
