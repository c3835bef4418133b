#!/usr/bin/env bash
# Installs the Debian packages a task needs, but only those that are missing,
# so that a second run costs a dpkg query and nothing else.
#
# Usage: scripts/setup.sh [run|test|all]
#   run   what building and starting the editor needs (make run)
#   test  that and what the tests use: Xvfb, openbox, the peer tools (make test;
#         the default, so that a bare `scripts/setup.sh` prepares both commands)
#   all   that and clang with its tools, for make lint and make fuzz
#
# On a bare Debian (debootstrap --variant=minbase) nothing but bash and apt is
# there, not even make: run this once as root and the Makefile takes over.
set -euo pipefail

group=${1:-test}

run_packages=(
  # make itself, the compiler, CMake and Ninja
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  # Qt's own Polish texts for its dialogs and buttons
  qt6-translations-l10n
  libjpeg62-turbo-dev zlib1g-dev
  # whole-buffer Deflate and CRC-32 for skin files
  libdeflate-dev
  # fontconfig's own interface: the editor reads its configuration early
  libfontconfig-dev
  libxcb1-dev
  # the developers' build configures the benchmarks too
  libbenchmark-dev
  # the build renders the icons from SVG when it is configured
  librsvg2-bin
  # make run without a display starts the editor on a private X server
  xvfb xauth x11-utils
  fonts-dejavu-core fonts-liberation2
)
test_packages=(
  # real-window tests, screenshots and the peer tools the tests compare with
  xdotool openbox imagemagick unzip zip python3
  # GNU time: the peak memory figures of bench/startup_bench.sh
  time
  # the installed desktop files' validators
  desktop-file-utils appstream libxml2-utils shared-mime-info groff-base
)
all_packages=(
  # make lint and make fuzz: clang with its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev clang-tidy clang-format
)

case $group in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  all) packages=("${run_packages[@]}" "${test_packages[@]}" "${all_packages[@]}") ;;
  *)
    echo "usage: scripts/setup.sh [run|test|all]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    # Said once, plainly, rather than the shell's "sudo: command not found".
    {
      echo "setup: these Debian packages are missing: ${missing[*]}"
      echo "setup: installing them needs root, and sudo is not installed here."
      echo "setup: run this as root, then try again as yourself:"
      echo "    apt-get update && apt-get install --no-install-recommends ${missing[*]}"
    } >&2
    exit 1
  fi
  sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
# Through env, because sudo does not pass the caller's environment on.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
