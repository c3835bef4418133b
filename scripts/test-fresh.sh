#!/usr/bin/env bash
# Follows the README as a newcomer would on a bare Debian 12 (debootstrap
# --variant=minbase: no make, no sudo, no compiler), with only git added to
# clone the project:
#   1. an ordinary user without sudo runs scripts/setup.sh: it must stop with
#      a plain message and a non-zero exit, installing nothing;
#   2. root clones the project and runs the commands of the README's first
#      code block exactly as written, in order: `make run` must show the
#      editor's two windows (on the private X server it starts, as there is
#      no display), and every other command must succeed.
# Each step's time is printed. Not part of CI: it needs root, a network
# mirror and half an hour.
#
# Usage (as root): scripts/test-fresh.sh [COMMIT]   (default HEAD; committed
# work only, as a clone sees it)
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)

[ "$(id -u)" -eq 0 ] || { echo "test-fresh: run as root (debootstrap and chroot need it)" >&2; exit 2; }
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")

# The README's first code block, comments and blank lines left out.
mapfile -t commands < <(awk '/^```sh$/ { inside = 1; next } /^```$/ { if (inside) exit } inside' README.md |
  sed -e 's/[[:space:]]*#.*$//' -e '/^[[:space:]]*$/d')
[ ${#commands[@]} -gt 0 ] || { echo "test-fresh: the README has no sh code block" >&2; exit 1; }
printf 'test-fresh: the README says:\n'
printf '    %s\n' "${commands[@]}"

# shellcheck source=scripts/debian-root.sh
. scripts/debian-root.sh
trap debian_root_cleanup EXIT
debian_root_make

timings=()
timed() {
  local what=$1 started=$SECONDS
  shift
  if "$@"; then
    timings+=("$(printf '%5d s  %s' $((SECONDS - started)) "$what")")
  else
    echo "test-fresh: FAILED: $what" >&2
    printf '%s\n' "${timings[@]}"
    exit 1
  fi
}

# --- the clone, as a newcomer makes it ----------------------------------------
# A bundle holds refs, not bare commits: a branch of the commit, for as long
# as the bundle takes to make.
git update-ref refs/heads/test-fresh "$commit"
git bundle create "$root/tmp/fsb.bundle" refs/heads/test-fresh >/dev/null 2>&1 ||
  { git update-ref -d refs/heads/test-fresh; echo "test-fresh: cannot bundle $commit" >&2; exit 1; }
git update-ref -d refs/heads/test-fresh
timed "apt-get install git" in_root sh -c \
  'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends git ca-certificates >/dev/null'
in_root git clone -q -b test-fresh /tmp/fsb.bundle /root/fsb

# --- 1. an ordinary user without sudo -------------------------------------------
in_root useradd -m newcomer
in_root chown -R newcomer /root/fsb
chmod 755 "$root/root"
set +e
message=$(in_root runuser -u newcomer -- bash -c 'cd /root/fsb && scripts/setup.sh' 2>&1)
status=$?
set -e
echo "$message" | sed 's/^/    /'
if [ "$status" -eq 0 ] || [ "$status" -eq 127 ] || ! grep -q "run this as root" <<<"$message"; then
  echo "test-fresh: FAILED: setup.sh as a user without sudo exited $status without saying what to do" >&2
  exit 1
fi
echo "test-fresh: ok: a user without sudo is told what to run as root (exit $status)"
in_root chown -R root /root/fsb

# --- 2. the README's commands, as root ---------------------------------------------
run_editor() {
  # `make run` keeps the editor open: wait for its two windows on the X
  # display it reports, then close it.
  local log=$root/tmp/make-run.log display="" found=""
  # A session of its own, so that the editor, make and the X server can be
  # stopped together without touching anything else on this machine.
  setsid chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
    bash -c "cd /root/fsb && $1" >"$log" 2>&1 &
  local pid=$!
  for _ in $(seq 1800); do
    kill -0 "$pid" 2>/dev/null || break
    display=$(sed -n 's/^with-xvfb: running on the private X display \(:[0-9]*\)$/\1/p' "$log")
    if [ -n "$display" ]; then
      found=$(in_root xwininfo -display "$display" -root -tree 2>/dev/null | grep -c '"Fabulor Reader"\|"Ustawienia"' || true)
      [ "$found" -ge 2 ] && break
    fi
    sleep 1
  done
  kill -TERM -- "-$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ "${found:-0}" -ge 2 ]; then
    echo "test-fresh: ok: the editor showed both windows on $display"
    return 0
  fi
  tail -n 30 "$log"
  return 1
}

for command in "${commands[@]}"; do
  case $command in
    "make run") timed "$command (until both windows show)" run_editor "$command" ;;
    *) timed "$command" in_root bash -c "cd /root/fsb && $command" ;;
  esac
done

echo "test-fresh: the README's commands on a bare Debian 12, commit ${commit:0:7}:"
printf '%s\n' "${timings[@]}"
cd "$here"
