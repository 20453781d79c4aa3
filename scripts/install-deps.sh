#!/usr/bin/env bash
# Installs the Debian packages that building (and, with "test", testing) needs,
# and only those that are missing, so a second run costs nothing.
set -euo pipefail

build_pkgs="cmake g++ make freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libpng-dev libsdl2-dev"
# Flying together: the server and the client talk through ENet.
build_pkgs="$build_pkgs libenet-dev"
# The head-up display's larger text: FreeType, fontconfig and the fonts it looks for.
build_pkgs="$build_pkgs libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core"
# The settings files, read by a small well-kept INI reader.
build_pkgs="$build_pkgs libinih-dev pkgconf"
test_pkgs="libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-apps x11-utils imagemagick netpbm locales pulseaudio"
# Building the .deb and checking what it installs.
package_pkgs="git debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db"
extra_pkgs=""

pkgs="$build_pkgs"
for want in "$@"; do
  case "$want" in
    build) ;;
    test) pkgs="$pkgs $test_pkgs" ;;
    fuzz) pkgs="$pkgs $test_pkgs clang libclang-rt-dev" ;;
    memory) pkgs="$pkgs $test_pkgs valgrind" ;;
    package) pkgs="$pkgs $package_pkgs" ;;
    *) extra_pkgs="$extra_pkgs $want" ;;
  esac
done
pkgs="$pkgs $extra_pkgs"

missing=""
for p in $pkgs; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install:$missing" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing </dev/null
