#!/bin/bash
# Draws the program's icon (Vocabra.ico: 16, 32 and 48 pixels) and the About box picture
# (About.bmp) with ImageMagick. The outputs are kept in the repository; run this again only to
# change them.
set -euo pipefail
cd "$(dirname "$0")"

# One square frame of the icon: a blue rounded tile with a white "V" and a yellow underline.
frame() {
    local size=$1 out=$2
    convert -size 48x48 xc:none \
        -fill '#1f4e9c' -stroke '#12305f' -strokewidth 2 -draw 'roundrectangle 1,1 46,46 9,9' \
        -fill white -stroke none -draw 'polygon 9,8 17,8 24,30 31,8 39,8 28,38 20,38' \
        -fill '#ffcc33' -draw 'rectangle 10,40 38,43' \
        -resize "${size}x${size}" "PNG32:$out"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 16 32 48; do
    frame "$size" "$tmp/icon$size.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" Vocabra.ico

# The About box picture: 80 x 106 pixels fill the 53 x 65 dialog-unit frame at 8-point type.
convert -size 80x106 gradient:'#2d64c0-#0f2a57' \
    -fill white -draw 'polygon 16,22 30,22 40,60 50,22 64,22 46,78 34,78' \
    -fill '#ffcc33' -draw 'rectangle 18,86 62,90' \
    -type TrueColor BMP3:About.bmp
