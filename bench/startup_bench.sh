#!/usr/bin/env bash
# startup_bench.sh [SKINBUILDER [BARE]]
#
# Starts the editor and a bare Qt program with two empty windows
# (bench/bare_two_windows.cpp, built with the benchmarks) alternately, PAIRS
# times, and prints the medians of the time until both windows are shown and
# mapped (first exposed) and until both are painted, and of the peak
# resident memory, with their ratios. Both programs
# time themselves through FSB_STARTUP_PROBE and end as soon as both windows
# are painted. Runs on a private Xvfb screen with openbox, as a desktop
# would, or on the offscreen platform when those are missing.
# Goals: time at most 1.5 x the bare program's, peak memory at most 1.3 x.
# Needs: GNU time; Xvfb and openbox for the X11 figures.
# The machine's load moves the times a lot (two shared cores): compare
# figures from one run, not across runs.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
EDITOR_BIN=$(realpath "${1:-$HERE/../build/src/app/skinbuilder}")
BARE_BIN=$(realpath "${2:-$HERE/../build/bench/bare_two_windows}")
PAIRS=${PAIRS:-9}
for f in "$EDITOR_BIN" "$BARE_BIN"; do
  [ -x "$f" ] || { echo "startup_bench: no program at $f (cmake --build build --target benchmarks skinbuilder)" >&2; exit 2; }
done
command -v /usr/bin/time >/dev/null || { echo "startup_bench: GNU time is missing" >&2; exit 2; }

W=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$W"
}
trap cleanup EXIT
# A fresh settings folder: no recent skins, nothing from an earlier run.
export XDG_CONFIG_HOME="$W/config" XDG_CACHE_HOME="$W/cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

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

# One start: prints "<ms painted> <peak kB> <ms mapped>".
run_once() {
  local out mapped
  FSB_STARTUP_PROBE=$(date +%s%N) /usr/bin/time -f "%M" -o "$W/mem" "$1" 2>"$W/err" >/dev/null \
    || { echo "startup_bench: $1 failed" >&2; cat "$W/err" >&2; exit 1; }
  out=$(sed -n 's/^startup_ms=//p' "$W/err")
  mapped=$(sed -n 's/^mapped_ms=//p' "$W/err")
  [ -n "$out" ] || { echo "startup_bench: $1 never showed both windows" >&2; cat "$W/err" >&2; exit 1; }
  echo "$out $(tail -n1 "$W/mem") $mapped"
}

median() { sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# A warm-up of each, so both find the libraries in the page cache.
run_once "$BARE_BIN" >/dev/null
run_once "$EDITOR_BIN" >/dev/null
: >"$W/bare" ; : >"$W/ours"
for _ in $(seq 1 "$PAIRS"); do
  run_once "$BARE_BIN" >>"$W/bare"
  run_once "$EDITOR_BIN" >>"$W/ours"
done

BARE_T=$(cut -d' ' -f1 "$W/bare" | median); OURS_T=$(cut -d' ' -f1 "$W/ours" | median)
BARE_M=$(cut -d' ' -f2 "$W/bare" | median); OURS_M=$(cut -d' ' -f2 "$W/ours" | median)
BARE_MAP=$(cut -d' ' -f3 "$W/bare" | median); OURS_MAP=$(cut -d' ' -f3 "$W/ours" | median)
echo "platform: $PLATFORM, $PAIRS pairs, medians"
printf "mapped     bare %7.1f ms   editor %7.1f ms   ratio %.2f (goal <= 1.5)\n" \
  "$BARE_MAP" "$OURS_MAP" "$(awk "BEGIN{print $OURS_MAP/$BARE_MAP}")"
printf "painted    bare %7.1f ms   editor %7.1f ms   ratio %.2f\n" \
  "$BARE_T" "$OURS_T" "$(awk "BEGIN{print $OURS_T/$BARE_T}")"
printf "peak RSS   bare %7.1f MB   editor %7.1f MB   ratio %.2f (goal <= 1.3)\n" \
  "$(awk "BEGIN{print $BARE_M/1024}")" "$(awk "BEGIN{print $OURS_M/1024}")" "$(awk "BEGIN{print $OURS_M/$BARE_M}")"
if [ -n "${VERBOSE:-}" ]; then
  echo "bare (ms kB):";   cat "$W/bare"
  echo "editor (ms kB):"; cat "$W/ours"
fi
