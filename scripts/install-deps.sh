#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# but only those that are missing, so a second run costs a few dpkg queries.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6svg6
  # Qt's media player needs GStreamer's decoders, or it cannot play at all
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libgl-dev libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libvips-tools   # the image benchmark compares with vipsthumbnail
  ripgrep         # the search benchmark compares with rg
  xvfb xauth
  # the desktop entry, metainfo and file-type checks run as tests
  desktop-file-utils appstream shared-mime-info
  # make package: dpkg-shlibdeps finds the libraries' packages; the package
  # check installs it into a fresh Debian chroot
  dpkg-dev debootstrap
  man-db groff-base   # the manual pages are checked by formatting them
  bash-completion     # the completion of orvo is tested as bash loads it
  bindfs          # a FUSE mount that a test can make stop answering
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
