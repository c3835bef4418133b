#!/usr/bin/env bash
# Runs a command on a private Xvfb display and stops the server afterwards:
#   scripts/with-xvfb.sh COMMAND [ARGS...]
# XVFB_SCREEN (default 1280x800x24) sets the screen's size and depth.
#
# The server picks a free display number itself and tells it through a file
# descriptor once it takes connections, so another X server on a fixed number
# (or one started between a check and our start) is never mistaken for ours.
set -euo pipefail

command -v Xvfb >/dev/null 2>&1 || {
  echo "with-xvfb: Xvfb is not installed (Debian package xvfb; scripts/setup.sh installs it)" >&2
  exit 127
}

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp \
  3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!

number=""
for _ in $(seq 200); do
  number=$(tr -d '\n' <"$work/display" 2>/dev/null || true)
  [ -n "$number" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$number" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
  echo "with-xvfb: Xvfb did not start:" >&2
  tail -n 5 "$work/xvfb.log" >&2
  exit 1
fi
display=":$number"

# The number came from our own server once it listened; a client that gets
# through proves that it answers there (xdpyinfo is in x11-utils, where present).
if command -v xdpyinfo >/dev/null 2>&1 && ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  echo "with-xvfb: the Xvfb started here does not answer on $display" >&2
  exit 1
fi

echo "with-xvfb: running on the private X display $display" >&2
# Not exec: the trap must still stop the server when the command ends.
status=0
DISPLAY=$display "$@" || status=$?
exit "$status"
