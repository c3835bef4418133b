#!/usr/bin/env bash
# make_large.sh [OUTDIR]
#
# Makes the large test inputs that are kept out of the repository because
# of their size.  Debian packages needed: zip python3 imagemagick
#   zip/large_2mb_hex_deflated.ski   a skin file whose skin.ski holds [Skin] En=1 and a
#                                    Skin= value of 2,000,000 upper-case hex digits
#                                    (1,000,000 seeded pseudo-random bytes), deflated by zip
#   jpeg/large_4000x3000.jpg         a 4000 x 3000 baseline colour JPEG (ImageMagick)
#   bmp/large_mask_4000x3000_1bit.bmp  a 4000 x 3000 black mask with a white shape, 1 bit
#                                    per pixel (ImageMagick)
# OUTDIR defaults to ./large-testdata (the folder of this script may be read-only).
# The loaded text of the skin
# file is the same on every machine (seeded); the JPEG and BMP bytes depend on the
# ImageMagick version, their sizes and flags do not.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(realpath -m "${1:-large-testdata}")
PY=${PY:-python3}              # Debian's python3; set PY if another one comes first in PATH
export TZ=UTC LC_ALL=C
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
mkdir -p "$OUT/zip" "$OUT/jpeg" "$OUT/bmp"

$PY "$HERE/tools/skin_texts.py" bighex 1000000 7 > "$W/skin.ski"
touch -d '2024-03-05 10:20:30' "$W/skin.ski"
rm -f "$OUT/zip/large_2mb_hex_deflated.ski"
( cd "$W" && zip -q -X -9 "$OUT/zip/large_2mb_hex_deflated.ski" skin.ski )

convert logo: -resize '4000x3000!' -quality 90 "$OUT/jpeg/large_4000x3000.jpg"

convert -size 4000x3000 xc:black +antialias -fill white \
        -draw 'roundrectangle 40,40 3959,2959 300,300' -fill black -draw 'circle 2000,1500 2000,1100' \
        -type bilevel BMP3:"$OUT/bmp/large_mask_4000x3000_1bit.bmp"
echo "large files written under $OUT"
