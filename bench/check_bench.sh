#!/usr/bin/env bash
# check_bench.sh [SKINTOOL]
#
# Runs `skintool check` (lines and --json) on skins made to cost the check as
# much as their size allows, and prints the wall and processor time, the peak
# memory and the output's size of each. Not part of the test run; the skins
# are made here, in a temporary folder, and removed at the end.
#   long-key       a key name of 500 MB in [Skin] (0.5 MB on disk)
#   long-section   a section name of 16 MiB
#   huge-section   a section name of 500 MB
#   many-keys      a million unknown keys in [Skin]
#   many-sections  a million unknown sections
#   long-colour    a colour value of 500 MB
#   checkerboard   a shaped skin whose mask is a 4096x4096 checkerboard of
#                  single pixels (15 KB on disk)
# Goals: each under 2 s, and under twice its skin text in peak memory.
# CASES="long-key many-keys" picks some; RUNS (default 1) repeats each;
# SKINS=DIR makes the skins in DIR and keeps them.
# Needs: python3, GNU time.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SKINTOOL=$(realpath "${1:-$HERE/../build/tools/skintool/skintool}")
RUNS=${RUNS:-1}
CASES=${CASES:-long-key long-section huge-section many-keys many-sections long-colour checkerboard}
for tool in python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "check_bench: $tool is missing" >&2; exit 2; }
done
[ -x "$SKINTOOL" ] || { echo "check_bench: no skintool at $SKINTOOL (build it first)" >&2; exit 2; }

if [ -n "${SKINS:-}" ]; then
  mkdir -p "$SKINS"
  cd "$SKINS"
else
  W=$(mktemp -d)
  trap 'rm -rf "$W"' EXIT
  cd "$W"
fi

# Each skin is written as it is made, a block at a time, so that making a
# 500 MB text needs little memory. Prints each file's skin text size.
python3 - $CASES >sizes.txt <<'PY'
import struct, sys, zipfile

MB = 1000 * 1000
MIB = 1 << 20
BLOCK = 16 * MIB

def skin(name, parts):
    size = 0
    with zipfile.ZipFile(name + ".ski", "w", zipfile.ZIP_DEFLATED) as z:
        with z.open("skin.ski", "w") as entry:
            for part in parts:
                entry.write(part)
                size += len(part)
    print(name, size)

def repeated(byte, count):
    block = byte * min(count, BLOCK)
    while count > 0:
        yield block[:count]
        count -= len(block)

def long_key():
    yield b"[Skin]\r\nEn=0\r\n"
    yield from repeated(b"K", 500 * MB)
    yield b"=1\r\n"

def long_section(length):
    def parts():
        yield b"[Skin]\r\nEn=0\r\n["
        yield from repeated(b"S", length)
        yield b"]\r\nA=1\r\n"
    return parts

def many_keys():
    yield b"[Skin]\r\nEn=0\r\n"
    for block in range(1000):
        yield b"".join(b"Key%07d=%d\r\n" % (block * 1000 + i, i) for i in range(1000))

def many_sections():
    yield b"[Skin]\r\nEn=0\r\n"
    for block in range(1000):
        yield b"".join(b"[Sect%07d]\r\nA=1\r\n" % (block * 1000 + i) for i in range(1000))

def long_colour():
    yield b"[Skin]\r\nEn=0\r\n[LM]\r\nFColor="
    yield from repeated(b"7", 500 * MB)
    yield b"\r\n"

def checkerboard():
    side = 4096
    stride = side // 8
    palette = b"\x00\x00\x00\x00\xff\xff\xff\x00"
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + 8 + stride * side, 0, 0, 14 + 40 + 8)
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 1, 0, stride * side, 2835, 2835, 2, 2)
    rows = b"".join((b"\x55" if y % 2 else b"\xaa") * stride for y in range(side))
    mask = (header + info + palette + rows).hex().upper().encode()
    yield b"[Skin]\r\nEn=1\r\nMaska=" + mask + b"\r\n"

makers = {
    "long-key": long_key,
    "long-section": long_section(16 * MIB),
    "huge-section": long_section(500 * MB),
    "many-keys": many_keys,
    "many-sections": many_sections,
    "long-colour": long_colour,
    "checkerboard": checkerboard,
}
for case in sys.argv[1:]:
    skin(case, makers[case]())
PY

# Best time and highest peak of RUNS: wall seconds, processor seconds (user
# and system: on a busy machine the wall time says little), peak kilobytes,
# exit code, bytes written.
measure() {
  local best_t="" best_c="" best_m="" t u s m rc out
  for _ in $(seq 1 "$RUNS"); do
    /usr/bin/time -f "%e %U %S %M %x" -o tm.txt "$SKINTOOL" check "$@" >out.txt 2>err.txt || true
    read -r t u s m rc < <(tail -n 1 tm.txt)
    out=$(stat -c %s out.txt)
    c=$(awk "BEGIN{print $u + $s}")
    if [ -z "$best_t" ] || awk "BEGIN{exit !($t < $best_t)}"; then best_t=$t; fi
    if [ -z "$best_c" ] || awk "BEGIN{exit !($c < $best_c)}"; then best_c=$c; fi
    if [ -z "$best_m" ] || [ "$m" -gt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_t $best_c $best_m $rc $out"
}

printf 'skintool check, best of %d runs, highest peak (goal: < 2 s, < 2x the text)\n' "$RUNS"
printf '%-14s %-6s %9s %11s %7s %7s %9s %6s %5s %11s\n' case output "file KB" "text B" "wall s" "cpu s" "peak MB" "x text" exit "output B"
while read -r name text; do
  for json in "" --json; do
    read -r t c m rc out < <(measure "$name.ski" $json)
    printf '%-14s %-6s %9d %11d %7.2f %7.2f %9.1f %6.2f %5s %11d  %s\n' \
      "$name" "${json:-lines}" "$(($(stat -c %s "$name.ski") / 1000))" "$text" "$t" "$c" \
      "$(awk "BEGIN{print $m / 1000}")" "$(awk "BEGIN{print $m * 1024 / $text}")" "$rc" "$out" \
      "$(head -c 60 err.txt | tr '\n' ' ')"
  done
done <sizes.txt
