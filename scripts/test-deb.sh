#!/usr/bin/env bash
# Builds the Debian package with CPack and installs it on a clean Debian 12
# made with debootstrap, the way a user would (apt pulls in the dependencies
# dpkg-shlibdeps found), then starts both programs there.
#
# Usage (as root): scripts/test-deb.sh [BUILD_DIR]
#   BUILD_DIR  an existing build folder to package, or one to make; the
#              default, build-deb/, is a Release build without tests.
# The clean Debian base is made once and kept in $FSB_DEB_BASE (default
# /var/tmp/fsb-bookworm-base); every run installs into a fresh copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-deb}
base=${FSB_DEB_BASE:-/var/tmp/fsb-bookworm-base}
sample=tests/data/zip/izip_deflate.ski

[ "$(id -u)" -eq 0 ] || { echo "test-deb: run as root (debootstrap and chroot need it)" >&2; exit 2; }
missing=()
command -v debootstrap >/dev/null || missing+=(debootstrap)
command -v dpkg-shlibdeps >/dev/null || missing+=(dpkg-dev)
if [ ${#missing[@]} -ne 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# --- the package ---------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DFSB_BUILD_TESTS=OFF -DFSB_BUILD_BENCHMARKS=OFF
fi
# Only what the package holds: a developer's build folder need not build its tests first.
targets=(skinbuilder skintool fsb_man_pages fsb_changelog)
# The icon sizes are rendered only where rsvg-convert was found.
if cmake --build "$build" --target help | grep '^[^ ]*fsb_icons:' >/dev/null; then targets+=(fsb_icons); fi
cmake --build "$build" -j 2 --target "${targets[@]}"
rm -f "$build"/fabulor-skin-builder_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/fabulor-skin-builder_*.deb)
echo "test-deb: built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
# Debian's own package checker, where it is installed: no error or warning.
if command -v lintian >/dev/null; then
  if lintian --fail-on error,warning "$deb"; then echo "test-deb: lintian clean"; else echo "test-deb: lintian found problems" >&2; exit 1; fi
else
  echo "test-deb: lintian is not installed; the package was not checked with it"
fi

# --- a clean Debian 12 ---------------------------------------------------------
# The same mirror as this machine's apt, so the package's dependencies come
# from where the build's own libraries came from.
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 2>/dev/null | head -n 1 || true)
[ -n "$mirror" ] || mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
[ -n "$mirror" ] || { echo "test-deb: no Debian mirror found in this machine's apt sources" >&2; exit 1; }
if [ ! -f "$base/.complete" ]; then
  rm -rf "$base"
  echo "test-deb: making a minimal Debian 12 in $base from $mirror"
  debootstrap --variant=minbase bookworm "$base" "$mirror" >/tmp/fsb-debootstrap.log 2>&1 \
    || { tail -n 30 /tmp/fsb-debootstrap.log; exit 1; }
  touch "$base/.complete"
fi

root=$(mktemp -d /var/tmp/fsb-deb-root.XXXXXX)
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
# This machine's sources (updates and security included) and its apt settings
# that matter for reaching them.
rm -f "$root/etc/apt/sources.list"
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
[ ! -f /etc/apt/sources.list ] || cp /etc/apt/sources.list "$root/etc/apt/"
apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|https?::Proxy) ' \
  >"$root/etc/apt/apt.conf.d/90fsb-host" || true
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 "$@"; }
cp "$deb" "$root/tmp/"
cp "$sample" "$root/tmp/sample.ski"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "/tmp/$(basename "$deb")" >/tmp/fsb-deb-install.log 2>&1 \
  || { tail -n 30 /tmp/fsb-deb-install.log; echo "test-deb: the package does not install"; exit 1; }
echo "test-deb: installed on a clean Debian 12 with $(in_root dpkg-query -W -f '${Version}\n' fabulor-skin-builder)"

# --- both programs start ---------------------------------------------------------
passed=0 failed=0
check() {
  local what=$1; shift
  if out=$("$@" 2>&1); then
    echo "ok: $what"; passed=$((passed + 1))
  else
    echo "FAIL: $what"; echo "$out" | tail -n 20; failed=$((failed + 1))
  fi
}
check "skinbuilder --version" sh -c "chroot '$root' env -i PATH=/usr/bin:/bin skinbuilder --version | grep -qx 'skinbuilder [0-9.]*'"
in_root skinbuilder --version
check "skintool --help" in_root skintool --help
in_root skintool --help | head -n 3
# The thumbnailer's command, on Qt's offscreen platform: the package must
# bring everything Qt needs to draw, not only what the linker sees.
check "skintool render --size 128 (the thumbnailer's command)" \
  in_root skintool render /tmp/sample.ski /tmp/thumb.png --size 128
check "the thumbnail is a PNG" sh -c "head -c 8 '$root/tmp/thumb.png' | od -An -c | grep -q 'P   N   G'"
check "the desktop files are installed" in_root test -f /usr/share/applications/org.fabulor.SkinBuilder.desktop \
  -a -f /usr/share/mime/packages/org.fabulor.SkinBuilder.xml -a -f /usr/share/thumbnailers/skinbuilder.thumbnailer

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
