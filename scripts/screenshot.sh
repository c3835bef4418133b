#!/usr/bin/env bash
# Starts the editor on a private Xvfb screen, waits for it to settle and saves
# a screenshot of the whole screen: scripts/screenshot.sh OUT.png [BUILD]
set -euo pipefail
out=${1:?usage: screenshot.sh OUT.png [BUILD]}
build=${2:-build}
here=$(cd "$(dirname "$0")" && pwd)
export FSB_SHOT_OUT=$out FSB_SHOT_APP=$build/src/app/skinbuilder
XVFB_SCREEN=1024x640x24 "$here/with-xvfb.sh" bash -c '
  "$FSB_SHOT_APP" & app=$!
  sleep "${SETTLE:-2}"
  import -window root "$FSB_SHOT_OUT"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true'
echo "saved $out"
