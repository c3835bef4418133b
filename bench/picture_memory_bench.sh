#!/usr/bin/env bash
# picture_memory_bench.sh [SKINBUILDER [SKINTOOL]]
#
# A skin of 18 KB whose 26 button pictures (13 buttons, a mouse-out and a
# mouse-over picture each) claim 16384 x 16384 pixels apiece, 6.5 GiB once
# decoded, beside a normal skin (scripts/demo-skin.sh: a shaped window, a
# background and fourteen button pictures). For each it opens the editor with
# the skin on its command line and reports the time until both windows are
# painted, the time until every picture drawn is decoded, and the peak
# memory; then `skintool render` of it, wall time and peak memory. Medians of
# RUNS runs (default 3).
# Goals for the large skin: windows painted about as soon as for the normal
# skin; every picture decoded within 4 s; at most 700 MB at the peak (the
# 512 MiB one skin's pictures may take, and the program).
# Needs: python3, GNU time, ImageMagick (for the normal skin); Xvfb and
# openbox for the X11 figures, else the offscreen platform.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
EDITOR_BIN=$(realpath "${1:-$HERE/../build/src/app/skinbuilder}")
SKINTOOL=$(realpath "${2:-$HERE/../build/tools/skintool/skintool}")
RUNS=${RUNS:-3}
for f in "$EDITOR_BIN" "$SKINTOOL"; do
  [ -x "$f" ] || { echo "picture_memory_bench: no program at $f (build skinbuilder and skintool)" >&2; exit 2; }
done
for tool in python3 /usr/bin/time convert; do
  command -v "$tool" >/dev/null || { echo "picture_memory_bench: $tool is missing" >&2; exit 2; }
done

W=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$W"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$W/config" XDG_CACHE_HOME="$W/cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

# The large skin: a greyscale baseline frame of 16384 x 16384 whose data ends
# after its first block, each with a comment of its own so that no two are alike.
python3 - >"$W/large.ini" <<'PY'
import os, sys
def jpeg(side, note):
    seg = lambda marker, body: bytes([0xFF, marker]) + (len(body) + 2).to_bytes(2, "big") + body
    one_code = bytes([1] + [0] * 15) + b"\x00"
    return (b"\xFF\xD8" + seg(0xFE, note) + seg(0xDB, b"\x00" + b"\x01" * 64)
            + seg(0xC0, b"\x08" + side.to_bytes(2, "big") + side.to_bytes(2, "big") + b"\x01\x01\x11\x00")
            + seg(0xC4, b"\x00" + one_code) + seg(0xC4, b"\x10" + one_code)
            + seg(0xDA, b"\x01\x01\x00\x00\x3F\x00") + b"\x3F" + b"\xFF\xD9")
lines = []
for section in ["PClose", "PMini", "PMenu", "P1", "P2", "P3", "P4", "PG", "PD", "PL", "PP", "PEnd", "PItem"]:
    lines += ["[" + section + "]"]
    lines += [key + "=" + jpeg(16384, os.urandom(600)).hex().upper() for key in ("MP1", "MP2")]
    lines += [""]
sys.stdout.buffer.write("\r\n".join(lines).encode() + b"\r\n")
PY
"$SKINTOOL" pack "$W/large.ini" "$W/large.ski"
bash "$HERE/../scripts/demo-skin.sh" "$W/normal.ski" "$(dirname "$(dirname "$(dirname "$SKINTOOL")")")" >/dev/null

if command -v Xvfb >/dev/null && command -v openbox >/dev/null; then
  display=:$((100 + RANDOM % 400))
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
  export DISPLAY=$display
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
  PLATFORM="xcb (Xvfb + openbox)"
else
  export QT_QPA_PLATFORM=offscreen
  PLATFORM="offscreen"
fi

median() { sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# One start of the editor on a skin: "<ms painted> <ms pictures decoded> <peak kB>".
editor_once() {
  FSB_STARTUP_PROBE=$(date +%s%N) /usr/bin/time -f "%M" -o "$W/mem" "$EDITOR_BIN" "$1" 2>"$W/err" >/dev/null \
    || { echo "picture_memory_bench: the editor failed" >&2; cat "$W/err" >&2; exit 1; }
  local painted settled
  painted=$(sed -n 's/^startup_ms=//p' "$W/err")
  settled=$(sed -n 's/^settled_ms=//p' "$W/err")
  [ -n "$painted" ] || { echo "picture_memory_bench: the editor never showed both windows" >&2; exit 1; }
  echo "$painted ${settled:-$painted} $(tail -n1 "$W/mem")"
}

# One render: "<ms> <peak kB>".
render_once() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$W/mem" "$SKINTOOL" render "$1" "$W/out.png" 2>"$W/err" \
    || { echo "picture_memory_bench: skintool render failed" >&2; cat "$W/err" >&2; exit 1; }
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000000 )) $(tail -n1 "$W/mem")"
}

echo "platform: $PLATFORM, $RUNS runs, medians"
for skin in normal large; do
  : >"$W/e" ; : >"$W/r"
  for _ in $(seq 1 "$RUNS"); do
    editor_once "$W/$skin.ski" >>"$W/e"
    render_once "$W/$skin.ski" >>"$W/r"
  done
  printf "%-7s editor: painted %7.1f ms, pictures decoded %7.1f ms, peak %5.0f MB\n" "$skin" \
    "$(cut -d' ' -f1 "$W/e" | median)" "$(cut -d' ' -f2 "$W/e" | median)" \
    "$(echo "$(cut -d' ' -f3 "$W/e" | median) / 1024" | bc -l)"
  printf "%-7s render: %7.1f ms, peak %5.0f MB\n" "$skin" \
    "$(cut -d' ' -f1 "$W/r" | median)" "$(echo "$(cut -d' ' -f2 "$W/r" | median) / 1024" | bc -l)"
done
