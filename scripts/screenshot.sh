#!/usr/bin/env bash
# Starts the editor on a private Xvfb screen, waits for it to settle and saves
# a screenshot of the whole screen: scripts/screenshot.sh OUT.png [BUILD]
set -euo pipefail
out=${1:?usage: screenshot.sh OUT.png [BUILD]}
build=${2:-build}
display=${XVFB_DISPLAY:-:98}
Xvfb "$display" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$build/src/app/skinbuilder" &
app_pid=$!
sleep "${SETTLE:-2}"
DISPLAY=$display import -window root "$out"
echo "saved $out"
