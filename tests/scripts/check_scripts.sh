#!/usr/bin/env bash
# The scripts a newcomer meets first: scripts/setup.sh as root, with sudo and
# without it (apt, dpkg and sudo are stand-ins here that record what they were
# asked), and scripts/with-xvfb.sh, which must run its command on the X server
# it started itself, whatever other servers there are.
# Usage: check_scripts.sh SOURCE_DIR
set -uo pipefail

source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# --- setup.sh -------------------------------------------------------------------
# A folder of stand-ins is the whole PATH, so no real package is looked up or
# installed: every package is missing, `id -u` says who we are, and sudo and
# apt-get write their arguments to a log.
standins() {
  local bin=$1 uid=$2 with_sudo=$3
  mkdir -p "$bin"
  printf '#!%s\necho "$*" >>"%s/log"\n' "$BASH" "$bin" >"$bin/apt-get"
  printf '#!%s\nexit 1\n' "$BASH" >"$bin/dpkg-query"
  printf '#!%s\necho %s\n' "$BASH" "$uid" >"$bin/id"
  # env as sudo calls it: `env NAME=VALUE... COMMAND ARGS`
  printf '#!%s\nwhile [[ $1 == *=* ]]; do export "$1"; shift; done\n"%s/$1" "${@:2}"\n' "$BASH" "$bin" >"$bin/env"
  if [ "$with_sudo" = yes ]; then
    printf '#!%s\necho "sudo $*" >>"%s/log"\n"%s/$1" "${@:2}"\n' "$BASH" "$bin" "$bin" >"$bin/sudo"
  fi
  chmod +x "$bin"/*
}

#  who                 | uid  | sudo | exit | what it must say or do
rows=(
  "root                 | 0    | no   | 0    | ^update -qq"
  "a user with sudo     | 1000 | yes  | 0    | ^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .*build-essential"
  "a user without sudo  | 1000 | no   | 1    | run this as root"
)
for row in "${rows[@]}"; do
  IFS='|' read -r who uid with_sudo expected_exit pattern <<<"$row"
  read -r who <<<"$who"; read -r uid <<<"$uid"; read -r with_sudo <<<"$with_sudo"
  read -r expected_exit <<<"$expected_exit"; read -r pattern <<<"$pattern"
  bin=$work/bin-$uid-$with_sudo
  standins "$bin" "$uid" "$with_sudo"
  out=$(PATH=$bin "$BASH" "$source/scripts/setup.sh" 2>&1)
  status=$?
  said=$(echo "$out"; cat "$bin/log" 2>/dev/null)
  if [ "$status" -ne "$expected_exit" ]; then
    fail "setup.sh as $who exited $status, not $expected_exit: $out"
  elif ! grep -q -- "$pattern" <<<"$said"; then
    fail "setup.sh as $who: nothing matches '$pattern' in: $said"
  elif [ "$expected_exit" -ne 0 ] && [ -e "$bin/log" ]; then
    fail "setup.sh as $who ran apt-get anyway: $(cat "$bin/log")"
  else
    ok "setup.sh as $who"
  fi
done
out=$(PATH=$work/bin-0-no "$BASH" "$source/scripts/setup.sh" everything 2>&1)
[ $? -eq 2 ] && ok "setup.sh refuses an unknown task" || fail "setup.sh everything: $out"

# --- with-xvfb.sh -----------------------------------------------------------------
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdpyinfo >/dev/null 2>&1; then
  echo "SKIP: with-xvfb.sh: Xvfb or xdpyinfo is not installed (scripts/setup.sh installs them)"
else
  # Another server already running must not be taken for the script's own:
  # one that refuses strangers (it wants a cookie) sits on some display.
  Xvfb -displayfd 3 -auth "$work/no-such-cookies" -nolisten tcp 3>"$work/other" >/dev/null 2>&1 &
  other_pid=$!
  for _ in $(seq 100); do [ -s "$work/other" ] && break; sleep 0.05; done
  other=":$(tr -d '\n' <"$work/other")"
  for i in 1 2; do
    "$source/scripts/with-xvfb.sh" sh -c 'echo "seen $DISPLAY"; xdpyinfo >/dev/null && echo answered' \
      >"$work/run$i.out" 2>&1 &
  done
  wait %2 %3 2>/dev/null
  kill "$other_pid" 2>/dev/null
  displays=()
  for i in 1 2; do
    said=$(sed -n 's/^with-xvfb: running on the private X display \(:[0-9]*\)$/\1/p' "$work/run$i.out")
    seen=$(sed -n 's/^seen //p' "$work/run$i.out")
    if [ -z "$said" ] || [ "$said" != "$seen" ]; then
      fail "with-xvfb.sh said '$said' but ran its command on '$seen': $(cat "$work/run$i.out")"
    elif [ "$seen" = "$other" ]; then
      fail "with-xvfb.sh took the other server's display $other"
    elif ! grep -qx answered "$work/run$i.out"; then
      fail "with-xvfb.sh: its server on $seen did not answer: $(cat "$work/run$i.out")"
    elif [ -e "/tmp/.X11-unix/X${seen#:}" ]; then
      fail "with-xvfb.sh left its server on $seen running"
    else
      displays+=("$seen")
    fi
  done
  if [ ${#displays[@]} -eq 2 ]; then
    [ "${displays[0]}" != "${displays[1]}" ] && ok "with-xvfb.sh: two at once, each on its own server" ||
      fail "with-xvfb.sh: two runs at once shared ${displays[0]}"
  fi
fi

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
