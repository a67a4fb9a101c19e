#!/usr/bin/env bash
# Makes a Debian 12 machine ready to build and test Quilleteer: the cross
# compilers, Wine, a virtual display, the test and benchmark libraries, the
# packaging tools (NSIS, zip), and libjpeg-turbo, zlib and libspng
# cross-built for both Windows targets into the build tree.
# Safe to run again: every step first checks whether it is already done.
#
# The 32-bit Wine is optional. It is asked for only where this machine can
# execute 32-bit programs, and where it cannot be installed (an i386 package
# index out of step with the amd64 one is common) set-up goes on without it
# and the test command lists the 32-bit suites as not run, with the reason.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=${QUILLETEER_BUILD:-$build}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  xvfb xauth x11-apps x11-utils xclip imagemagick fonts-ipafont-gothic fonts-wine locales
  cmake ninja-build nasm pkgconf dpkg-dev
  googletest libbenchmark-dev libjpeg-dev libspng-dev zlib1g-dev
  clang libclang-rt-14-dev clang-format
  fp-utils libgsf-bin netpbm python3-pil optipng
  nsis zip unzip
)

installed() { dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed; }

# The line of apt's output in $1 that says why an install failed: the first
# unmet dependency where there is one, else its last error.
apt_reason() {
  local why
  why=$(grep -m1 -E ' : (Depends|PreDepends|Conflicts|Breaks):' "$1" | sed 's/^ *//') ||
    why=$(grep -E '^E: ' "$1" | tail -n1 | sed 's/^E: //') || true
  echo "${why:-apt-get failed}"
}

# A package index that cannot be fetched does not end set-up by itself: one
# more try, then the lists there are. Only a package that cannot be
# installed does.
apt_update() {
  local log=$1 attempt
  for attempt in 1 2; do
    if as_root apt-get update -qq >"$log" 2>&1; then return 0; fi
    [ $attempt -eq 1 ] && sleep 2
  done
  echo "setup: some package lists could not be fetched; going on with those there are ($(apt_reason "$log"))"
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Source packages are needed for libjpeg-turbo, zlib and libspng.
need_update=0
src_list=/etc/apt/sources.list.d/debian.sources
if [ -f "$src_list" ] && grep -q '^Types: deb$' "$src_list"; then
  as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src_list"
  need_update=1
elif [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list &&
     ! grep -q '^deb-src ' /etc/apt/sources.list; then
  grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee -a /etc/apt/sources.list >/dev/null
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  echo "setup: installing ${missing[*]:-(package lists only)}"
  apt_update "$log"
  if [ ${#missing[@]} -gt 0 ] &&
     ! as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
    # Name the package that cannot be had: the others go in one by one.
    for p in "${missing[@]}"; do
      installed "$p" && continue
      if ! as_root apt-get install -y -qq --no-install-recommends "$p" >"$log" 2>&1; then
        echo "setup: cannot install $p: $(apt_reason "$log")" >&2
        exit 1
      fi
    done
  fi
fi

# The 32-bit Wine, where the machine can execute what it would run. Asked
# for afresh on each set-up until it is in, so that a mirror that catches up
# is used as soon as it does.
wine32_note=$build/wine32-unavailable.txt
mkdir -p "$build"
if kernel_runs_32; then
  if installed wine32:i386; then
    rm -f "$wine32_note"
  else
    added_i386=0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      as_root dpkg --add-architecture i386
      added_i386=1
    fi
    echo "setup: installing wine32:i386"
    apt_update "$log"
    if as_root apt-get install -y -qq --no-install-recommends wine32:i386 >"$log" 2>&1; then
      rm -f "$wine32_note"
    else
      why="wine32:i386 cannot be installed: $(apt_reason "$log")"
      echo "$why" >"$wine32_note"
      echo "setup: going on without the 32-bit Wine ($why); the 32-bit build is compiled but its tests will not run"
      # Leave apt as it was: an i386 architecture with a broken index would
      # make every later update of this machine fail.
      if [ $added_i386 -eq 1 ] && [ -z "$(dpkg-query -W -f='${binary:Package}\n' '*:i386' 2>/dev/null)" ]; then
        as_root dpkg --remove-architecture i386 || true
      fi
    fi
  fi
else
  rm -f "$wine32_note"
fi

# Wine reads the locale for its code page; Japanese tests need ja_JP.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

# The libraries the Windows builds link statically, from Debian's source
# packages.
dep_src=$build/deps/src
fetch_source() { # $1 = source package
  [ -d "$dep_src/$1" ] && return 0
  mkdir -p "$dep_src"
  local version
  # The newest version first; a security update whose files the mirror
  # does not hold yet falls back to the release's own.
  for version in "" $(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u); do
    rm -f "$dep_src/$1"_*
    if (cd "$dep_src" && apt-get source -qq -o APT::Sandbox::User=root --download-only \
          "$1${version:+=$version}" >"$log" 2>&1 &&
        dpkg-source -x --no-check "$1"_*.dsc "$1" >>"$log" 2>&1); then
      return 0
    fi
  done
  echo "setup: cannot get the source of $1: $(apt_reason "$log")" >&2
  exit 1
}

build_jpeg() { # $1 = target name, $2 = toolchain file
  local prefix=$build/deps/$1
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  fetch_source libjpeg-turbo
  echo "setup: building libjpeg-turbo for $1"
  cmake -S "$dep_src/libjpeg-turbo" -B "$build/deps/$1-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -Wno-dev >/dev/null
  cmake --build "$build/deps/$1-build" --target install >/dev/null
}

# zlib, then libspng on top of it (PNG export and import).
build_png() { # $1 = target name, $2 = toolchain file
  local prefix=$build/deps/$1
  [ -f "$prefix/lib/libspng_static.a" ] && [ -f "$prefix/lib/libz.a" ] && return 0
  fetch_source zlib
  fetch_source libspng
  echo "setup: building zlib and libspng for $1"
  # Only the static library: the source package leaves out the files the
  # DLL's resource needs.
  cmake -S "$dep_src/zlib" -B "$build/deps/$1-zlib-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
  cmake --build "$build/deps/$1-zlib-build" --target zlibstatic >/dev/null
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$build/deps/$1-zlib-build/libzlibstatic.a" "$prefix/lib/libz.a"
  cp "$dep_src/zlib/zlib.h" "$build/deps/$1-zlib-build/zconf.h" "$prefix/include/"
  # Its build script names the shared library's target whatever the options
  # say: that target is configured, and only the static one built.
  # Its filter code uses SSE2 intrinsics, which the 32-bit compiler offers
  # only when told the processor has them (every one Windows runs on now).
  cmake -S "$dep_src/libspng" -B "$build/deps/$1-spng-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-msse2 \
    -DSPNG_SHARED=ON -DBUILD_EXAMPLES=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" -Wno-dev >/dev/null
  cmake --build "$build/deps/$1-spng-build" --target spng_static >/dev/null
  cp "$build/deps/$1-spng-build/libspng_static.a" "$prefix/lib/"
  cp "$dep_src/libspng/spng/spng.h" "$prefix/include/"
}

build_jpeg win32 "$root/cmake/mingw-i686.cmake"
build_jpeg win64 "$root/cmake/mingw-x86_64.cmake"
build_png win32 "$root/cmake/mingw-i686.cmake"
build_png win64 "$root/cmake/mingw-x86_64.cmake"
echo "setup: ready"
