#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a packager would, and checks
# that a desktop would find everything: each file in its place, the desktop
# entry, metainfo and MIME type valid and naming each other consistently, the
# icons of the sizes their folders claim, the man pages clean and complete,
# the thumbnailer's own command line making a thumbnail, one licence file, and
# the programs without a RUNPATH and, installed stripped as a package is, as
# bare as Debian's own package tools leave them.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR [SAMPLE.ski]
set -uo pipefail

build=$1
source=$2
sample=${3:-$source/tests/data/zip/izip_deflate.ski}
prefix=/usr
id=org.fabulor.SkinBuilder
mimetype=application/x-fabulor-skin

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
root=$stage$prefix

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "SKIP: $*"; }
ok() { echo "ok: $*"; }

if ! DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

# --- every file in its place --------------------------------------------------
expected=(
  bin/skinbuilder bin/skintool
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
  share/thumbnailers/skinbuilder.thumbnailer
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/skinbuilder.1.gz share/man/man1/skintool.1.gz
  share/doc/fabulor-skin-builder/copyright
)
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/$id.png"); done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "not installed: $prefix/$f"
done
for b in skinbuilder skintool; do
  [ -x "$root/bin/$b" ] || fail "$prefix/bin/$b is not executable"
done
# Nothing outside the prefix, nothing left over from the build tree.
stray=$(cd "$stage" && find . -type f ! -path ".$prefix/*")
[ -z "$stray" ] || fail "installed outside $prefix: $stray"
# One licence file, under the name Debian gives it.
licences=$(cd "$root/share/doc" && find . -type f \( -iname 'licen[cs]e*' -o -iname 'copying*' -o -name copyright \))
[ "$licences" = ./fabulor-skin-builder/copyright ] || fail "licence files are not copyright alone: ${licences//$'\n'/ }"

# --- the programs as ELF files ----------------------------------------------------
# Each row: the install it holds for (plain: as `make install` does; stripped:
# `cmake --install --strip`, as the package is made; hardened: a build with
# Debian's flags), what must hold, readelf's option, and whether its output
# must (+) or must not (-) match the extended regular expression.
elf_rules=(
  "plain|no RUNPATH or RPATH|--dynamic|-|\((RPATH|RUNPATH)\)"
  "stripped|no RUNPATH or RPATH|--dynamic|-|\((RPATH|RUNPATH)\)"
  "stripped|no .comment section|--section-headers|-| \.comment "
  "stripped|no symbol table|--section-headers|-| \.symtab "
  "stripped|no debugging information|--section-headers|-| \.debug_"
  "stripped|its build ID kept|--section-headers|+| \.note\.gnu\.build-id "
  "hardened|immediate binding (BIND_NOW)|--dynamic|+|BIND_NOW|\(FLAGS_1\).* NOW( |$)"
  "hardened|fortified C library calls (_FORTIFY_SOURCE)|--dyn-syms|+| __[a-z0-9_]+_chk@"
)
sroot=$work/stripped$prefix
if ! DESTDIR=$work/stripped cmake --install "$build" --prefix "$prefix" --strip >"$work/strip.log" 2>&1; then
  fail "cmake --install --strip: $(cat "$work/strip.log")"
fi
hardened=no
grep -qx 'FSB_DEBIAN_BUILDFLAGS:BOOL=ON' "$build/CMakeCache.txt" && command -v dpkg-buildflags >/dev/null && hardened=yes
if command -v readelf >/dev/null; then
  failures_before=$failures
  for rule in "${elf_rules[@]}"; do
    IFS='|' read -r install what option sense pattern <<<"$rule"
    case $install in
      plain) dir=$root ;;
      stripped) dir=$sroot ;;
      hardened)
        if [ "$hardened" = no ]; then skip "$what: the build does not use Debian's flags (FSB_DEBIAN_BUILDFLAGS)"; continue; fi
        dir=$root ;;
    esac
    for b in skinbuilder skintool; do
      if ! out=$(readelf --wide "$option" "$dir/bin/$b" 2>&1); then
        fail "readelf $option $install $prefix/bin/$b: $out"
        continue
      fi
      if grep -Eq -- "$pattern" <<<"$out"; then found=+; else found=-; fi
      [ "$found" = "$sense" ] || fail "$install $prefix/bin/$b: expected $what"
    done
  done
  [ "$failures" -ne "$failures_before" ] || ok "installed programs checked with readelf"
else
  skip "readelf not installed (Debian package binutils)"
fi
"$sroot/bin/skintool" --version >/dev/null 2>&1 || fail "the stripped skintool does not run"

# PNG width and height from the IHDR chunk.
png_size() {
  python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
if d[:8]!=b"\x89PNG\r\n\x1a\n": print("not-png"); sys.exit()
w,h=struct.unpack(">II",d[16:24]); print(f"{w}x{h}")' "$1"
}
for s in "${sizes[@]}"; do
  png=$root/share/icons/hicolor/${s}x${s}/apps/$id.png
  [ -f "$png" ] || continue
  got=$(png_size "$png")
  [ "$got" = "${s}x${s}" ] || fail "icon in ${s}x${s}/ is $got"
done

# --- the pieces name each other -------------------------------------------------
desktop=$root/share/applications/$id.desktop
key() { sed -n "s/^$1=//p" "$2" | head -n 1; }
exec_line=$(key Exec "$desktop")
[ -x "$root/bin/${exec_line%% *}" ] || fail "desktop Exec names no installed program: $exec_line"
case " $exec_line " in *" %f "* | *" %F "* | *" %u "* | *" %U "*) ;; *) fail "desktop Exec takes no file: $exec_line" ;; esac
[ "$(key Icon "$desktop")" = "$id" ] || fail "desktop Icon is not $id"
case ";$(key MimeType "$desktop")" in *";$mimetype;"*) ;; *) fail "desktop entry does not open $mimetype" ;; esac
grep -q "<mime-type type=\"$mimetype\">" "$root/share/mime/packages/$id.xml" \
  || fail "the MIME package does not define $mimetype"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/share/metainfo/$id.metainfo.xml" \
  || fail "metainfo launches no $id.desktop"
grep -q "<release version=\"$("$root/bin/skintool" --version | sed 's/^skintool //')\"" \
  "$root/share/metainfo/$id.metainfo.xml" || fail "metainfo's release is not the programs' version"
thumbnailer=$root/share/thumbnailers/skinbuilder.thumbnailer
case ";$(key MimeType "$thumbnailer")" in *";$mimetype;"*) ;; *) fail "thumbnailer is not for $mimetype" ;; esac

# --- validators, where installed -------------------------------------------------
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1)
  if [ -n "$out" ]; then fail "desktop-file-validate: $out"; else ok "desktop-file-validate"; fi
else
  skip "desktop-file-validate not installed (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  if out=$(appstreamcli validate --no-net --no-color "$root/share/metainfo/$id.metainfo.xml" 2>&1); then
    ok "appstreamcli validate --no-net"
  else
    fail "appstreamcli validate: $out"
  fi
else
  skip "appstreamcli not installed (Debian package appstream)"
fi
if command -v xmllint >/dev/null; then
  if out=$(xmllint --noout "$root/share/mime/packages/$id.xml" 2>&1); then ok "xmllint"; else fail "xmllint: $out"; fi
else
  skip "xmllint not installed (Debian package libxml2-utils)"
fi
# The MIME database built from the package alone must map *.ski to the type
# and know it as a kind of ZIP file.
if command -v update-mime-database >/dev/null; then
  mkdir -p "$work/mime/packages"
  cp "$root/share/mime/packages/$id.xml" "$work/mime/packages/"
  if out=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work update-mime-database "$work/mime" 2>&1) && [ -z "$out" ]; then
    grep -q ":$mimetype:\*\.ski$" "$work/mime/globs2" || fail "MIME database: *.ski is not $mimetype"
    grep -qx "$mimetype application/zip" "$work/mime/subclasses" || fail "MIME database: $mimetype is no application/zip"
    grep -qx "$mimetype:image-x-generic" "$work/mime/generic-icons" || fail "MIME database: $mimetype has no generic icon"
    ok "update-mime-database"
  else
    fail "update-mime-database: $out"
  fi
else
  skip "update-mime-database not installed (Debian package shared-mime-info)"
fi

# --- man pages: clean roff, and every command skintool knows is described ---------
man1=$work/man1
mkdir -p "$man1"
for page in skinbuilder skintool; do
  gzip -dc "$root/share/man/man1/$page.1.gz" >"$man1/$page.1" || fail "$page.1.gz is no gzip file"
done
if command -v groff >/dev/null; then
  for page in skinbuilder skintool; do
    for device in utf8 ascii; do
      out=$(groff -man -ww -z -K utf8 -T$device "$man1/$page.1" 2>&1)
      [ -z "$out" ] || fail "groff -T$device $page.1: $out"
    done
  done
  ok "man pages format cleanly"
else
  skip "groff not installed (Debian package groff-base)"
fi
commands=$("$root/bin/skintool" --help | sed -n 's/^  skintool \([a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "skintool --help lists no commands"
for c in $commands; do
  grep -q "^\.BI \"$c " "$man1/skintool.1" || fail "skintool.1 does not describe '$c'"
done
codes=$("$root/bin/skintool" --help | sed -n '/^Exit codes/,$p' | grep -o '\b[0-9]\b' | sort -u)
[ -n "$codes" ] || fail "skintool --help names no exit codes"
for code in $codes; do
  grep -qx "\.B $code" "$man1/skintool.1" || fail "skintool.1 does not explain exit code $code"
done
options=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/skinbuilder" --help | grep -o -- '--[a-z-]*' | sort -u)
[ -n "$options" ] || fail "skinbuilder --help lists no options"
for o in $options; do
  grep -qF -- "\\-\\-${o#--}" "$man1/skinbuilder.1" || fail "skinbuilder.1 does not describe $o"
done

# --- the thumbnailer's own command makes a thumbnail ---------------------------------
# A file manager runs Exec with %i the skin, %o the PNG to write and %s the size.
exec_thumb=$(key Exec "$thumbnailer")
[ -n "$exec_thumb" ] || fail "thumbnailer has no Exec"
cp "$sample" "$work/sample.ski"
thumb_cmd=${exec_thumb//%i/$work/sample.ski}
thumb_cmd=${thumb_cmd//%o/$work/thumb.png}
thumb_cmd=${thumb_cmd//%s/128}
# From the installed programs alone, with no display, as a thumbnailer runs.
if (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$root/bin:/usr/bin:/bin" \
      sh -c "$thumb_cmd") >"$work/thumb.log" 2>&1; then
  got=$(png_size "$work/thumb.png")
  w=${got%x*} h=${got#*x}
  if [ "$got" = not-png ] || { [ "$w" != 128 ] && [ "$h" != 128 ]; } || [ "$w" -gt 128 ] || [ "$h" -gt 128 ]; then
    fail "thumbnail is $got, not 128 px on its longer side"
  else
    ok "thumbnailer made a $got thumbnail"
  fi
else
  fail "thumbnailer command failed: $thumb_cmd: $(cat "$work/thumb.log")"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install layout: all checks passed"
