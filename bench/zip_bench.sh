#!/usr/bin/env bash
# zip_bench.sh [SKINTOOL]
#
# Packs and unpacks a 20 MB skin document text (fifteen ~600 KB JPEG pictures
# as hexadecimal) with `skintool pack`/`unpack`, side by side with Info-ZIP's
# `zip -6` and `unzip -p` on the same text, and prints time ratios, compressed
# sizes and the peak memory of unpack. Not part of the test run.
# Goals: pack no slower than zip -6, compressed size within 5% of it; unpack
# no slower than unzip -p; unpack's peak memory below three times the text.
# Needs: zip, unzip, python3, ImageMagick's convert, GNU time.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SKINTOOL=$(realpath "${1:-$HERE/../build/tools/skintool/skintool}")
RUNS=${RUNS:-5}
for tool in zip unzip python3 convert /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "zip_bench: $tool is missing" >&2; exit 2; }
done
[ -x "$SKINTOOL" ] || { echo "zip_bench: no skintool at $SKINTOOL (build it first)" >&2; exit 2; }

W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
cd "$W"

# Fifteen different noisy photos; JPEG data is close to random, as real
# pictures are, so the hex text compresses about as a real skin does.
for i in $(seq 1 15); do
  convert -seed "$i" -size 1000x750 plasma:fractal -attenuate 0.6 +noise Gaussian -quality 92 "p$i.jpg"
done
python3 - <<'PY'
import glob
lines = ["[Skin]", "En=1", "W=623", "H=364", ""]
for i, name in enumerate(sorted(glob.glob("p*.jpg"), key=lambda n: int(n[1:-4]))):
    data = open(name, "rb").read()
    lines += ["[P%d]" % i, "T=%d" % (10 * i), "L=8", "MP1=" + data.hex().upper(), ""]
open("skin.ski", "wb").write("".join(l + "\r\n" for l in lines).encode("ascii"))
PY
TEXT_BYTES=$(stat -c %s skin.ski)
cp skin.ski text.ini

# Best of RUNS: elapsed seconds and peak resident kilobytes of a command.
measure() {
  local best_t="" best_m="" t m
  for _ in $(seq 1 "$RUNS"); do
    /usr/bin/time -f "%e %M" -o tm.txt "$@" >/dev/null 2>err.txt || { cat err.txt >&2; exit 1; }
    read -r t m < tm.txt
    if [ -z "$best_t" ] || awk "BEGIN{exit !($t < $best_t)}"; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -gt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_t $best_m"
}

read -r ZIP_T _ < <(measure bash -c 'rm -f peer.zip && zip -q -6 -X peer.zip skin.ski')
read -r PACK_T _ < <(measure bash -c "rm -f ours.ski && '$SKINTOOL' pack text.ini ours.ski")
ZIP_C=$(unzip -Zv peer.zip skin.ski | awk '/compressed size:/ && !/uncompressed/ {print $3}')
OURS_C=$("$SKINTOOL" list ours.ski | awk -F'\t' '$1=="skin.ski" {print $3}')

read -r UNZIP_T UNZIP_M < <(measure unzip -p peer.zip skin.ski)
read -r UNPACK_T UNPACK_M < <(measure "$SKINTOOL" unpack ours.ski)
"$SKINTOOL" unpack ours.ski | cmp -s - skin.ski || { echo "zip_bench: unpack gave other bytes" >&2; exit 1; }

ratio() { awk "BEGIN{ if ($2 == 0) print \"n/a\"; else printf \"%.2f\", $1 / $2 }"; }
printf 'text: %d bytes (15 JPEG pictures as hex), best of %d runs\n' "$TEXT_BYTES" "$RUNS"
printf 'pack:    skintool %6.2f s   zip -6   %6.2f s   ratio %s (goal <= 1.00)\n' "$PACK_T" "$ZIP_T" "$(ratio "$PACK_T" "$ZIP_T")"
printf 'size:    skintool %d bytes   zip -6 %d bytes   ratio %s (goal <= 1.05)\n' "$OURS_C" "$ZIP_C" "$(ratio "$OURS_C" "$ZIP_C")"
printf 'unpack:  skintool %6.2f s   unzip -p %6.2f s   ratio %s (goal <= 1.00)\n' "$UNPACK_T" "$UNZIP_T" "$(ratio "$UNPACK_T" "$UNZIP_T")"
printf 'memory:  skintool unpack peak %d KB = %s x the text (goal < 3); unzip -p %d KB\n' \
  "$UNPACK_M" "$(ratio "$UNPACK_M * 1024" "$TEXT_BYTES")" "$UNZIP_M"
