#!/usr/bin/env bash
# Makes a Debian 12 machine ready to build and test Quilleteer: the cross
# compilers, Wine, a virtual display, the test and benchmark libraries, and
# libjpeg-turbo cross-built for both Windows targets into the build tree.
# Safe to run again: every step first checks whether it is already done.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUILLETEER_BUILD:-$root/build}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 wine32:i386
  xvfb xauth x11-apps x11-utils xclip imagemagick fonts-ipafont-gothic fonts-wine locales
  cmake ninja-build nasm pkgconf dpkg-dev
  googletest libbenchmark-dev libjpeg-dev
  clang libclang-rt-14-dev clang-format
  fp-utils libgsf-bin netpbm
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed; then
    missing+=("$p")
  fi
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi
# Source packages are needed for libjpeg-turbo.
src_list=/etc/apt/sources.list.d/debian.sources
if [ -f "$src_list" ] && grep -q '^Types: deb$' "$src_list"; then
  as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src_list"
  need_update=1
elif [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list &&
     ! grep -q '^deb-src ' /etc/apt/sources.list; then
  grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee -a /etc/apt/sources.list >/dev/null
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  echo "setup: installing ${missing[*]:-(package lists only)}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# Wine reads the locale for its code page; Japanese tests need ja_JP.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

# libjpeg-turbo for the Windows builds, from Debian's source package.
jpeg_src=$build/deps/src
build_jpeg() { # $1 = target name, $2 = toolchain file
  local prefix=$build/deps/$1
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  if [ ! -d "$jpeg_src/libjpeg-turbo" ]; then
    mkdir -p "$jpeg_src"
    (cd "$jpeg_src" && apt-get source -qq -o APT::Sandbox::User=root --download-only libjpeg-turbo >/dev/null &&
      dpkg-source -x --no-check libjpeg-turbo_*.dsc libjpeg-turbo >/dev/null)
  fi
  echo "setup: building libjpeg-turbo for $1"
  cmake -S "$jpeg_src/libjpeg-turbo" -B "$build/deps/$1-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -Wno-dev >/dev/null
  cmake --build "$build/deps/$1-build" --target install >/dev/null
}
build_jpeg win32 "$root/cmake/mingw-i686.cmake"
build_jpeg win64 "$root/cmake/mingw-x86_64.cmake"
echo "setup: ready"
