#!/usr/bin/env bash
# Regenerates the binary resources of Papershift 7 from make_images.py and the DejaVu
# fonts. The results are committed, so a Windows build needs neither Python nor
# ImageMagick; run this after changing a picture and commit what it writes.
# The output is deterministic: a second run leaves every file byte for byte the same.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fonts=${DEJAVU_FONTS:-/usr/share/fonts/truetype/dejavu}
title_font=$fonts/DejaVuSans-Bold.ttf
text_font=$fonts/DejaVuSans.ttf

fail() {
  echo "make-resources: $*" >&2
  exit 1
}

command -v python3 >/dev/null || fail "python3 not found"
command -v convert >/dev/null || fail "ImageMagick's convert not found"
command -v identify >/dev/null || fail "ImageMagick's identify not found"
for f in "$title_font" "$text_font"; do
  [[ -r $f ]] || fail "font $f not found (set DEJAVU_FONTS to the folder of DejaVuSans.ttf)"
done

# The version on the splash is the project's (CMakeLists.txt, its one place).
version=$(sed -n 's/^project(Papershift7 VERSION \([0-9.]*\).*/\1/p' "$here/../CMakeLists.txt")
[[ -n $version ]] || fail "no project version found in CMakeLists.txt"

cd "$here"
trap 'rm -f Papershift7.ico.tmp menuimages.bmp.tmp splash.jpg.tmp' EXIT

python3 make_images.py icon Papershift7.ico
python3 make_images.py menu menuimages.bmp

# The name with a soft shadow, the version beneath it. Baseline JPEG without chroma
# subsampling, so the white text keeps clean edges; -strip keeps dates and profiles out.
python3 make_images.py splash-backdrop |
  convert ppm:- \
    \( -size 300x200 xc:none -font "$title_font" -pointsize 30 -gravity north \
       -fill 'rgba(10,10,40,0.55)' -annotate +1+40 'Papershift 7' -blur 0x2 \) \
    -composite \
    -font "$title_font" -pointsize 30 -gravity north -fill white \
    -annotate +0+38 'Papershift 7' \
    -font "$text_font" -pointsize 13 -fill '#eef0ff' -annotate +0+78 "Version $version" \
    -strip -interlace none -sampling-factor 1x1 -quality 90 jpg:splash.jpg.tmp
mv splash.jpg.tmp splash.jpg

# Check what the program and windres rely on.
expect() {
  local file=$1 format=$2 want=$3 got
  got=$(identify -format "$format" "$file")
  [[ $got == "$want" ]] || fail "$file: expected '$want', got '$got'"
}
# Little-endian 16-bit field at a byte offset.
field16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }

# Every size the shell asks for at 100 to 200 percent, small icon and large.
expect Papershift7.ico '%wx%h ' '16x16 20x20 24x24 32x32 48x48 256x256 '
[[ $(field16 Papershift7.ico 12) == 32 ]] || fail "Papershift7.ico: not 32 bits per pixel"
expect menuimages.bmp '%m %wx%h' 'BMP3 160x16'
[[ $(field16 menuimages.bmp 28) == 24 ]] || fail "menuimages.bmp: not 24 bits per pixel"
expect splash.jpg '%m %wx%h %[interlace] %Q' 'JPEG 300x200 None 90'
echo "make-resources: Papershift7.ico, menuimages.bmp and splash.jpg written in $here"
