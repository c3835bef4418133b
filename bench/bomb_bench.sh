#!/usr/bin/env bash
# bomb_bench.sh [SKINTOOL]
#
# Loads Deflate bombs with `skintool unpack` (the editor's load sequence) and
# prints the wall time and peak memory of each. Not part of the test run.
#   bomb          4.2 MB file: 4 GiB of zeros, directory says 2 GiB - 1
#   honest        2047 MiB of zeros, recorded as such, right CRC-32
#   understated   4 GiB of zeros, directory says 100 bytes: inflates to the
#                 512 MiB bound before it is refused (the worst case)
#   at the bound  exactly 512 MiB, recorded as such: loads
# Goals: every refused bomb under 2 s and under 600 MB peak.
# Needs: python3, GNU time.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SKINTOOL=$(realpath "${1:-$HERE/../build/tools/skintool/skintool}")
RUNS=${RUNS:-3}
for tool in python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bomb_bench: $tool is missing" >&2; exit 2; }
done
[ -x "$SKINTOOL" ] || { echo "bomb_bench: no skintool at $SKINTOOL (build it first)" >&2; exit 2; }

W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
cd "$W"

# The bombs are built from one flushed 16 MiB block of zeros repeated: it
# refers only to zeros, so any number of copies is a valid Deflate stream.
python3 - <<'PY'
import struct, zlib

MIB = 1 << 20
CHUNK = 16 * MIB

def stream(total):
    c = zlib.compressobj(6, zlib.DEFLATED, -15, 8)
    zeros = bytes(CHUNK)
    count, rest = divmod(total, CHUNK)
    out = c.compress(zeros) + c.flush(zlib.Z_SYNC_FLUSH)
    if count > 1:
        out += (c.compress(zeros) + c.flush(zlib.Z_SYNC_FLUSH)) * (count - 1)
    return out + c.compress(bytes(rest)) + c.flush(zlib.Z_FINISH)

def zero_crc(total):
    crc, zeros = 0, bytes(CHUNK)
    for _ in range(total // CHUNK):
        crc = zlib.crc32(zeros, crc)
    rest = total % CHUNK
    return zlib.crc32(bytes(rest), crc) if rest else crc

def archive(path, data, recorded, crc):
    name = b"skin.ski"
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x5865, crc, len(data), recorded, len(name), 0)
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0x5865, crc, len(data), recorded,
                          len(name), 0, 0, 0, 0, 0, 0)
    at = len(local) + len(name) + len(data)
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central) + len(name), at, 0)
    with open(path, "wb") as f:
        f.write(local + name + data + central + name + end)

four_gib = stream(4096 * MIB)
archive("bomb.ski", four_gib, 2**31 - 1, 0)
archive("honest.ski", stream(2047 * MIB), 2047 * MIB, zero_crc(2047 * MIB))
archive("understated.ski", four_gib, 100, 0)
archive("bound.ski", stream(512 * MIB), 512 * MIB, zero_crc(512 * MIB))
PY

# Best time and highest peak of RUNS: elapsed seconds, peak kilobytes, exit code.
measure() {
  local best_t="" best_m="" t m rc
  for _ in $(seq 1 "$RUNS"); do
    /usr/bin/time -f "%e %M %x" -o tm.txt "$SKINTOOL" unpack "$1" >/dev/null 2>err.txt || true
    read -r t m rc < <(tail -n 1 tm.txt)
    if [ -z "$best_t" ] || awk "BEGIN{exit !($t < $best_t)}"; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -gt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_t $best_m $rc $(head -c 80 err.txt | tr '\n' ' ')"
}

printf 'skintool unpack, best time and highest peak of %d runs (goal for refused bombs: < 2 s, < 600 MB)\n' "$RUNS"
for f in bomb honest understated bound; do
  read -r t m rc msg < <(measure "$f.ski")
  printf '%-12s %9d bytes  %6.2f s  %7.1f MB peak  exit %s  %s\n' "$f" "$(stat -c %s "$f.ski")" "$t" \
    "$(awk "BEGIN{print $m / 1000}")" "$rc" "$msg"
done
