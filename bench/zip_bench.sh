#!/usr/bin/env bash
# zip_bench.sh [SKINTOOL [BENCH_PARSE]]
#
# Packs and unpacks a 20 MB skin document text (fifteen ~600 KB JPEG pictures
# as hexadecimal) with `skintool pack`/`unpack`, side by side with Info-ZIP's
# `zip -6` and `unzip -p` on the same text, ours and the peer alternating,
# and prints the ratios of the medians, compressed sizes and the peak memory
# of unpack; then parses the same text against `wc -l` (bench_parse).
# Not part of the test run.
# Goals: pack at most 0.6 x the time of zip -6, compressed size within 2% of
# it; unpack at most 0.5 x unzip -p; unpack's peak memory below three times
# the text; parsing at least half the speed of wc -l.
# Needs: zip, unzip, python3, ImageMagick's convert, GNU time.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SKINTOOL=$(realpath "${1:-$HERE/../build/tools/skintool/skintool}")
BENCH_PARSE=$(realpath "${2:-$HERE/../build/bench/bench_parse}")
PAIRS=${PAIRS:-9}
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

# One run: elapsed seconds and peak resident kilobytes. The time is taken to
# the microsecond here: GNU time's own figure has two decimals, too coarse for
# runs of a few hundredths of a second.
run_once() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o tm.txt "$@" >/dev/null 2>err.txt || { cat err.txt >&2; exit 1; }
  end=$(date +%s%N)
  echo "$(awk "BEGIN{ printf \"%.4f\", ($end - $start) / 1e9 }") $(cat tm.txt)"
}
median() { sort -g | awk '{v[NR]=$1} END{ if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2 }'; }

# PAIRS pairs, peer and ours alternating; prints the two medians and our peak memory.
pairs() {
  local peer=$1 ours=$2 peak=0 t m
  : > peer.t; : > ours.t
  for _ in $(seq 1 "$PAIRS"); do
    read -r t m < <(run_once bash -c "$peer"); echo "$t" >> peer.t
    read -r t m < <(run_once bash -c "$ours"); echo "$t" >> ours.t
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$(median < peer.t) $(median < ours.t) $peak"
}

read -r ZIP_T PACK_T _ < <(pairs 'rm -f peer.zip && zip -q -6 -X peer.zip skin.ski' \
                                 "rm -f ours.ski && '$SKINTOOL' pack text.ini ours.ski")
ZIP_C=$(unzip -Zv peer.zip skin.ski | awk '/compressed size:/ && !/uncompressed/ {print $3}')
OURS_C=$("$SKINTOOL" list ours.ski | awk -F'\t' '$1=="skin.ski" {print $3}')
# Every peer reads what we wrote.
unzip -tq ours.ski >/dev/null || { echo "zip_bench: unzip -t refuses ours.ski" >&2; exit 1; }
unzip -p ours.ski skin.ski | cmp -s - skin.ski || { echo "zip_bench: unzip -p reads other bytes" >&2; exit 1; }

read -r UNZIP_T UNPACK_T UNPACK_M < <(pairs 'unzip -p peer.zip skin.ski' "'$SKINTOOL' unpack ours.ski")
UNZIP_M=$(run_once unzip -p peer.zip skin.ski | awk '{print $2}')
"$SKINTOOL" unpack ours.ski | cmp -s - skin.ski || { echo "zip_bench: unpack gave other bytes" >&2; exit 1; }

ratio() { awk "BEGIN{ if ($2 == 0) print \"n/a\"; else printf \"%.2f\", $1 / $2 }"; }
printf 'text: %d bytes (15 JPEG pictures as hex), medians of %d alternating pairs\n' "$TEXT_BYTES" "$PAIRS"
printf 'pack:    skintool %6.3f s   zip -6   %6.3f s   ratio %s (goal <= 0.60)\n' "$PACK_T" "$ZIP_T" "$(ratio "$PACK_T" "$ZIP_T")"
printf 'size:    skintool %d bytes   zip -6 %d bytes   ratio %s (goal within 0.98..1.02 or smaller)\n' "$OURS_C" "$ZIP_C" "$(ratio "$OURS_C" "$ZIP_C")"
printf 'unpack:  skintool %6.3f s   unzip -p %6.3f s   ratio %s (goal <= 0.50)\n' "$UNPACK_T" "$UNZIP_T" "$(ratio "$UNPACK_T" "$UNZIP_T")"
printf 'memory:  skintool unpack peak %d KB = %s x the text (goal < 3); unzip -p %d KB\n' \
  "$UNPACK_M" "$(ratio "$UNPACK_M * 1024" "$TEXT_BYTES")" "$UNZIP_M"
if [ -x "$BENCH_PARSE" ]; then
  "$BENCH_PARSE" skin.ski "$PAIRS"
else
  echo "parse:   no bench_parse at $BENCH_PARSE (build the benchmarks)"
fi
