#!/usr/bin/env bash
# Builds the Debian package with CPack, checks its programs are built and
# stripped as Debian's own packages are (hardening flags, no RUNPATH, no
# .comment section) and that it carries one licence file, then installs it on
# a clean Debian 12 made with debootstrap, the way a user would (apt pulls in
# the dependencies dpkg-shlibdeps found), and starts both programs there.
#
# Usage (as root): scripts/test-deb.sh [BUILD_DIR]
#   BUILD_DIR  an existing build folder to package, or one to make; the
#              default, build-deb/, is a Release build without tests, with
#              Debian's hardening flags (FSB_DEBIAN_BUILDFLAGS).
# The clean Debian base is made once and kept in $FSB_DEB_BASE (default
# /var/tmp/fsb-bookworm-base); every run installs into a fresh copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-deb}
sample=tests/data/zip/izip_deflate.ski

[ "$(id -u)" -eq 0 ] || { echo "test-deb: run as root (debootstrap and chroot need it)" >&2; exit 2; }
missing=()
command -v dpkg-shlibdeps >/dev/null || missing+=(dpkg-dev)
command -v readelf >/dev/null || missing+=(binutils)
if [ ${#missing[@]} -ne 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# --- the package ---------------------------------------------------------------
# The default folder is configured each time, so one made before the
# hardening flags were asked for takes them up too.
if [ ! -f "$build/CMakeCache.txt" ] || [ -z "${1:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DFSB_BUILD_TESTS=OFF -DFSB_BUILD_BENCHMARKS=OFF -DFSB_DEBIAN_BUILDFLAGS=ON
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

passed=0 failed=0
check() {
  local what=$1; shift
  if out=$("$@" 2>&1); then
    echo "ok: $what"; passed=$((passed + 1))
  else
    echo "FAIL: $what"; echo "$out" | tail -n 20; failed=$((failed + 1))
  fi
}
# shellcheck source=scripts/debian-root.sh
. scripts/debian-root.sh
unpacked=$(mktemp -d /var/tmp/fsb-deb-files.XXXXXX)
root=
cleanup() {
  rm -rf "$unpacked"
  [ -z "$root" ] || debian_root_cleanup
}
trap cleanup EXIT

# --- the package's files, as Debian's own package tools would leave them --------
dpkg-deb -x "$deb" "$unpacked"
# FILE OPTION REGEX: FILE can be read, and readelf OPTION's account of it
# matches REGEX, or does not (then the lines that do are shown).
elf_has() { local out; out=$(readelf --wide "$2" "$1") && grep -Eq -- "$3" <<<"$out"; }
elf_lacks() { local out; out=$(readelf --wide "$2" "$1") && ! grep -E -- "$3" <<<"$out"; }
one_licence() {
  local found
  found=$(cd "$unpacked/usr/share/doc" && find . -type f \( -iname 'licen[cs]e*' -o -iname 'copying*' -o -name copyright \))
  [ "$found" = ./fabulor-skin-builder/copyright ] || { echo "licence files: $found"; return 1; }
}
for b in skinbuilder skintool; do
  bin=$unpacked/usr/bin/$b
  check "$b: immediate binding (BIND_NOW)" elf_has "$bin" --dynamic 'BIND_NOW|\(FLAGS_1\).* NOW( |$)'
  check "$b: fortified C library calls" elf_has "$bin" --dyn-syms ' __[a-z0-9_]+_chk@'
  check "$b: no RUNPATH or RPATH" elf_lacks "$bin" --dynamic '\((RPATH|RUNPATH)\)'
  check "$b: no .comment or .note section" elf_lacks "$bin" --section-headers ' \.(comment|note) '
  check "$b: no symbol table or debugging information" elf_lacks "$bin" --section-headers ' \.(symtab|debug_[a-z]+) '
  # Debian's own hardening check, where devscripts is installed. Debian 12's
  # build flags do not ask for control-flow protection, so neither does this.
  if command -v hardening-check >/dev/null; then
    check "$b: hardening-check" hardening-check --nocfprotection "$bin"
  fi
done
command -v hardening-check >/dev/null \
  || echo "test-deb: hardening-check is not installed (Debian package devscripts); only readelf checked the programs"
check "one licence file, /usr/share/doc/fabulor-skin-builder/copyright" one_licence

# Debian's own package checker, where it is installed: no error or warning,
# and none of the information tags about how the programs are built.
if command -v lintian >/dev/null; then
  lintian_out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) && lintian_rc=0 || lintian_rc=$?
  [ -z "$lintian_out" ] || echo "$lintian_out"
  check "lintian: no error or warning" test "$lintian_rc" -eq 0
  # The tags, of any level, that speak of them.
  no_build_tags() {
    ! grep -E ': (hardening-no-[a-z-]+|custom-library-search-path|binary-has-unneeded-section|unstripped-binary-or-object|extra-license-file)( |$)' \
      <<<"$lintian_out"
  }
  check "lintian: no tag about hardening, RUNPATH, stripping or licence files" no_build_tags
else
  echo "test-deb: lintian is not installed; the package was not checked with it"
fi

# --- a clean Debian 12 ---------------------------------------------------------
debian_root_make
cp "$deb" "$root/tmp/"
cp "$sample" "$root/tmp/sample.ski"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "/tmp/$(basename "$deb")" >/tmp/fsb-deb-install.log 2>&1 \
  || { tail -n 30 /tmp/fsb-deb-install.log; echo "test-deb: the package does not install"; exit 1; }
echo "test-deb: installed on a clean Debian 12 with $(in_root dpkg-query -W -f '${Version}\n' fabulor-skin-builder)"

# --- both programs start ---------------------------------------------------------
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
