#!/usr/bin/env bash
# Makes a demo skin file with a shaped window, a background picture and
# pictures for all fourteen buttons: scripts/demo-skin.sh OUT.ski [BUILD]
# Needs ImageMagick, python3 and a built skintool.
set -euo pipefail
out=${1:?usage: demo-skin.sh OUT.ski [BUILD]}
build=${2:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 640x400 xc:black -fill white -draw "roundrectangle 0,0 639,399 70,70" \
    -type TrueColor "BMP3:$work/mask.bmp"
convert -size 640x400 gradient:'#2b3a55-#8a5a44' -fill '#ffffff22' \
    -draw "circle 520,90 600,90" -quality 90 "$work/skin.jpg"
for name in PClose PMini PMenu P1 P2 P3 P4 PG PD PL PP PEnd PItem PUwaga; do
  width=28; [ "$name" = PEnd ] || [ "$name" = PItem ] && width=80
  label=${name#P}
  convert -size ${width}x26 gradient:'#f2d08a-#b8862e' -bordercolor '#5a3d10' -border 1 \
      -gravity center -pointsize 11 -fill '#3a2508' -annotate 0 "$label" -quality 92 "$work/$name.jpg"
done

python3 - "$work" > "$work/skin.ini" <<'PY'
import sys, pathlib
work = pathlib.Path(sys.argv[1])
hexof = lambda name: (work / name).read_bytes().hex().upper()
lines = ["[Skin]", "En=1", "Maska=" + hexof("mask.bmp"), "Skin=" + hexof("skin.jpg"), ""]
lines += ["[PC1]", "S=220", "W=170", "T=170", "L=40", "Border=2", "Color=$00E8F0F4", ""]
lines += ["[OP1]", "S=330", "W=100", "T=60", "L=40", "Flat=1", "Color=$00E8F4F8",
          "FColor=$00203040", "FName=Liberation Serif", "FSize=13", ""]
lines += ["[PRys]", "S=200", "W=250", "T=60", "L=300", "Border=6", "RColor=$00404858", "Color=$002E5A8A", ""]
places = {"PClose": (14, 590), "PMini": (14, 556), "PMenu": (14, 522), "PUwaga": (350, 40),
          "PEnd": (50, 64), "PItem": (50, 64)}
for name in ["PClose", "PMini", "PMenu", "P1", "P2", "P3", "P4", "PG", "PD", "PL", "PP", "PEnd", "PItem", "PUwaga"]:
    lines += ["[" + name + "]", "MP1=" + hexof(name + ".jpg")]
    if name in places:
        lines += ["T=%d" % places[name][0], "L=%d" % places[name][1]]
    lines += [""]
lines += ["[PMove]", "S=420", "W=26", "T=14", "L=40", ""]
for label in ["L1", "L2", "L3", "L4"]:
    lines += ["[" + label + "]", "FColor=$00303A8A", "FName=Liberation Sans", "FSize=9", ""]
lines += ["[LM]", "T=352", "L=80", "FColor=clWhite", "FName=Liberation Sans", "FSize=11", ""]
lines += ["[LB]", "S=100", "W=250", "T=60", "L=515", "Color=$00F0F8FF", "FColor=$00303030", "FName=Liberation Sans", "FSize=8", ""]
sys.stdout.write("\r\n".join(lines) + "\r\n")
PY
"$build/tools/skintool/skintool" pack "$work/skin.ini" "$out"
echo "made $out"
