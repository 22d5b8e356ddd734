#!/usr/bin/env bash
# Makes the demo disc's three short movies (two seconds each, MJPEG in AVI,
# which every stock player opens): a coloured sky or sea with a moving shape
# and the movie's title. Needs ffmpeg; the movies are committed, so only who
# wants to change them runs this.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p MOVIES

font=$(fc-match -f '%{file}' 'Liberation Sans:bold' 2>/dev/null || true)

# make NAME TITLE BACKGROUND SHAPE_COLOUR SHAPE_SIZE X_EXPRESSION Y_EXPRESSION
make() {
  local name=$1 title=$2 background=$3 shape=$4 size=$5 x=$6 y=$7
  local text=""
  if [ -n "$font" ]; then
    text=",drawtext=fontfile=${font}:text='${title}':fontcolor=white:fontsize=14:x=(w-tw)/2:y=6"
  fi
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "color=c=${background}:s=160x120:r=10:d=2" \
    -f lavfi -i "color=c=${shape}:s=${size}:r=10:d=2" \
    -filter_complex "[0][1]overlay=x='${x}':y='${y}':shortest=1${text},format=yuvj420p" \
    -c:v mjpeg -q:v 10 -an "MOVIES/${name}.AVI"
}

make SUNRISE "Sunrise over the bay" 0x1c2f5a orange 36x36 '(W-w)/2' 'H-t*30'
make HARBOUR "The harbour at noon" 0x2a7fb8 white 30x12 't*70-w' 'H*2/3'
make NIGHT "Night market" 0x0b0b1e yellow 8x8 'W/2+40*sin(t*3)' 'H/2+30*cos(t*3)'

ls -l MOVIES
