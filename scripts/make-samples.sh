#!/usr/bin/env bash
# Writes a few sample wallpapers (bitmaps and JPEG images, made here) into a folder.
# Usage: make-samples.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
sample() {  # file name, then ImageMagick arguments up to the output
  local out="$dir/$1"
  shift
  [ -f "$out" ] && return 0
  case "$out" in
    *.bmp) convert "$@" -type TrueColor "BMP3:$out" ;;
    *) convert "$@" -quality 90 "$out" ;;
  esac
}
sample "Papershift Dawn.jpg" -seed 11 -size 1024x768 plasma:orange-purple -blur 0x6
sample "Papershift Forest.jpg" -seed 23 -size 1280x800 plasma:darkgreen-khaki -blur 0x4
sample "Papershift Sea.jpg" -size 1024x768 gradient:skyblue-navy
sample "Papershift Sand.bmp" -size 800x600 gradient:wheat-sienna
sample "Papershift Tiles.bmp" -size 128x128 pattern:checkerboard -fill steelblue -opaque black
