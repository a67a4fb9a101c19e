# Shared by the package and test commands: what goes into a package and
# how its installer is made. Sourced after common.sh, not run.

# The one version, as CMake made it for the program of a build tree: sets
# $version ("3.00") and $version_numbers ("3.0.0.0").
read_version() { # $1 = build tree
  local header=$build/$1/generated/quill_version.h
  version=$(sed -n 's/^#define QUILL_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
  version_numbers=$(sed -n 's/^#define QUILL_VERSION_NUMBERS //p' "$header" | tr , .)
  if [ -z "$version" ] || [ -z "$version_numbers" ]; then
    echo "no version in $header" >&2
    return 1
  fi
}

# Windows readers: CRLF line ends and, for the texts with Japanese in them,
# a byte-order mark so that Notepad reads them as UTF-8 on every version.
to_windows_text() { sed 's/\r$//; s/$/\r/'; }
with_bom() { printf '\xef\xbb\xbf'; cat; }

# What the licences of the libraries linked into the program ask to go with
# it: libjpeg-turbo's (with the IJG's conditions), libspng's and zlib's, and
# the mingw-w64 runtime's.
# A heading of the notices, framed.
notice_heading() {
  printf '\n======================================================================\n'
  printf '%s\n' "$1"
  printf '======================================================================\n\n'
}

notices() { # $1 = win32 or win64
  local jpeg=$build/deps/src/libjpeg-turbo runtime
  case $1 in
    win32) runtime=/usr/share/doc/mingw-w64-i686-dev/copyright ;;
    win64) runtime=/usr/share/doc/mingw-w64-x86-64-dev/copyright ;;
  esac
  printf 'Quilleteer includes the following software, built into Quilleteer.exe.\n\n'
  printf 'This software is based in part on the work of the Independent JPEG Group.\n'
  notice_heading 'libjpeg-turbo (JPEG export)'
  cat "$jpeg/LICENSE.md"
  printf '\n\nThe Independent JPEG Group'"'"'s conditions, from libjpeg-turbo'"'"'s README.ijg:\n\n'
  sed -n '/^LEGAL ISSUES$/,/^REFERENCES$/p' "$jpeg/README.ijg" | sed '$d'
  notice_heading 'libspng (PNG export and import)'
  cat "$build/deps/src/libspng/LICENSE"
  notice_heading 'zlib (the compression under PNG)'
  cat "$build/deps/src/zlib/LICENSE"
  notice_heading 'The mingw-w64 runtime and winpthreads (the C runtime and threads)'
  printf '%s\n%s\n%s\n\n' "The copyright file of the mingw-w64 runtime as the compiler's" \
    "distribution ships it; it also covers headers that were only used to" \
    "build the program."
  cat "$runtime"
  notice_heading 'The GCC runtime libraries (libgcc, libstdc++)'
  printf '%s\n%s\n%s\n' "These are distributed under the GNU General Public License version 3" \
    "with the GCC Runtime Library Exception, version 3.1, which allows them" \
    "to be combined with a program under any licence."
}

# Lays out in FOLDER the files a package of one build holds: the program
# and its help file from the build tree, the user README, the licence and
# the notices. Needs $version. Each step says when it fails: the test
# command calls this where a failure must not end the whole run.
stage_package() { # $1 = win32 or win64, $2 = build tree, $3 = folder
  local bits=${1#win} bin=$build/$2/bin
  rm -rf "$3" && mkdir -p "$3" || return
  cp "$bin/Quilleteer.exe" "$bin/Quillet.chm" "$3/" || return
  sed "s/@VERSION@/$version/g; s/@BITS@/$bits/g" "$root/package/README.txt" |
    to_windows_text | with_bom >"$3/README.txt" || return
  to_windows_text <"$root/LICENSE" >"$3/LICENSE.txt" || return
  notices "$1" | to_windows_text >"$3/THIRD-PARTY-NOTICES.txt"
}

# Makes the installer of a staged folder. Needs $version and $version_numbers.
make_installer() { # $1 = win32 or win64, $2 = staged folder, $3 = installer to write
  local log=$2.makensis.log
  rm -f "$3"
  if ! makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DVERSION_NUMBERS="$version_numbers" \
      -DBITS="${1#win}" -DSTAGE="$2" -DICON="$root/res/images/quilleteer.ico" -DOUTFILE="$3" \
      "$root/package/quilleteer.nsi" >"$log" 2>&1; then
    cat "$log" >&2
    return 1
  fi
}
