#!/usr/bin/env bash
# Writes the sample wallpapers (landscapes drawn by resources/make_images.py, with a
# photograph's grain, as bitmaps and JPEG images, at least as large as the 1024 x 768
# demo desktop) into a folder. Pictures already there are kept.
# Usage: make-samples.sh DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
mkdir -p "$dir"
# Small pictures of earlier versions of this script, replaced by the landscapes.
rm -f "$dir/Papershift Tiles.bmp" "$dir/Papershift Sand.bmp"
sample() {  # file name, scene, width, height, noise seed
  local out="$dir/$1" format
  if [ -f "$out" ] && [ "$(identify -format '%w' "$out" 2>/dev/null)" -ge 1024 ]; then
    return 0
  fi
  case "$out" in
    *.bmp) format=(-type TrueColor "BMP3:$out.tmp") ;;
    *) format=(-quality 90 "JPEG:$out.tmp") ;;
  esac
  python3 "$root/resources/make_images.py" wallpaper "$2" "$3" "$4" |
    convert ppm:- -seed "$5" -attenuate 0.3 +noise Gaussian "${format[@]}"
  mv "$out.tmp" "$out"
}
sample "Papershift Dawn.jpg" dawn 1280 800 11
sample "Papershift Lake.jpg" lake 1280 800 23
sample "Papershift Dunes.bmp" dunes 1024 768 31
sample "Papershift Sea.jpg" sea 1024 768 41
sample "Papershift Forest.bmp" forest 1024 768 53
