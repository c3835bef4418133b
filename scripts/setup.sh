#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those
# that are missing, so that a second run costs a dpkg query and nothing else.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  # Qt's own Polish texts for its dialogs and buttons
  qt6-translations-l10n
  libjpeg62-turbo-dev zlib1g-dev libbenchmark-dev
  # whole-buffer Deflate and CRC-32 for skin files
  libdeflate-dev
  # fontconfig's own interface: the editor reads its configuration early
  libfontconfig-dev
  libxcb1-dev
  xvfb xauth xdotool openbox x11-utils imagemagick unzip zip python3
  fonts-dejavu-core fonts-liberation2
  # GNU time: the peak memory figures of bench/startup_bench.sh
  time
  # make lint and make fuzz: clang with its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev clang-tidy clang-format
  # the installed desktop files: icons rendered from SVG, and their validators
  librsvg2-bin desktop-file-utils appstream libxml2-utils shared-mime-info groff-base
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
