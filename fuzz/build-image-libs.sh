#!/usr/bin/env bash
# Builds libjpeg-turbo, libpng and libtiff from Debian's sources of the
# versions this system ships, with the fuzz build's instrumentation, so that
# the image fuzz targets are led by the decoders' own branches and a memory
# error inside a decoder is caught where it happens. The fuzz configuration
# links these static libraries instead of the system's when they exist.
#
#   fuzz/build-image-libs.sh [PREFIX]   (default: build/fuzz-libs)
#   cmake --preset fuzz && cmake --build --preset fuzz --target fuzz_targets
#
# Needs clang, cmake and network access to deb.debian.org; touches no system
# configuration (apt reads a private source list and state folder).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "${1:-$source_dir/build/fuzz-libs}")
work=$prefix/work
mkdir -p "$work/lists/partial" "$work/src"

cat >"$work/sources.list" <<EOF
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
EOF
apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$work/lists" -o Debug::NoLocking=1)
apt-get "${apt_options[@]}" update -qq
cd "$work/src"
apt-get "${apt_options[@]}" source --download-only -qq libjpeg-turbo libpng1.6 tiff

unpack() { # PATTERN -> prints the folder the tarball unpacks into
    local tarball
    tarball=$(ls $1 | head -n 1)
    rm -rf "unpacked-$1"; mkdir "unpacked-$1"
    tar -xf "$tarball" -C "unpacked-$1"
    echo "$work/src/unpacked-$1/$(ls "unpacked-$1" | head -n 1)"
}

flags="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -g -O1"
common=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX="$prefix"
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_POSITION_INDEPENDENT_CODE=ON
        -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DCMAKE_INSTALL_INCLUDEDIR="$prefix/include")
jobs=${JOBS:-2}

# Assembly decoders are invisible to the coverage counters; the C paths are
# the ones that decode the same files.
src=$(unpack 'libjpeg-turbo_*.orig.tar.gz')
cmake -S "$src" -B "$work/build-jpeg" "${common[@]}" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
      -DWITH_TURBOJPEG=OFF >/dev/null
cmake --build "$work/build-jpeg" -j "$jobs" --target install >/dev/null

src=$(unpack 'libpng1.6_*.orig.tar.*')
cmake -S "$src" -B "$work/build-png" "${common[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
      -DPNG_EXECUTABLES=OFF >/dev/null
cmake --build "$work/build-png" -j "$jobs" --target install >/dev/null

src=$(unpack 'tiff_*.orig.tar.*')
cmake -S "$src" -B "$work/build-tiff" "${common[@]}" -DBUILD_SHARED_LIBS=OFF \
      -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF \
      -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF -Djpeg12=OFF \
      -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" >/dev/null
cmake --build "$work/build-tiff" -j "$jobs" --target install >/dev/null

echo "instrumented image libraries in $prefix"
