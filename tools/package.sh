#!/usr/bin/env bash
# Makes what a Windows user installs: builds the optimised, stripped 32- and
# 64-bit programs and writes, under dist/, a portable zip and a per-user
# installer of each. Then checks its own output (every file in place, each
# executable's machine type, no debug information, the sizes) and installs
# the 64-bit package under Wine in a fresh prefix, starts it from its
# shortcut, closes it and uninstalls it (tools/install-test.sh); the 32-bit
# package too where this machine can execute 32-bit programs. The test
# command runs the same install test on the installer of its own build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$root/tools/packaging.sh"
prepare_machine "$@"
started=$SECONDS

dist=$root/dist
work=$build/package
builds=(win32 win64)

echo "== building"
build_tree win32-release Quilleteer
# The driver starts and closes the installed program in the install test.
build_tree win64-release Quilleteer quill-driver

read_version win64-release

for b in "${builds[@]}"; do
  name=Quilleteer-$version-$b
  stage=$work/$b/$name
  echo "== $name"
  rm -rf "$work/$b"
  mkdir -p "$dist"
  stage_package "$b" "$b-release" "$stage"
  rm -f "$dist/$name.zip"
  (cd "$work/$b" && zip -q -X -9 -r "$dist/$name.zip" "$name")
  make_installer "$b" "$stage" "$dist/$name-setup.exe"
done

echo "== checking the packages"
problems=0
problem() { echo "package: $*" >&2; problems=$((problems + 1)); }

# The machine a PE file is for, from its header: 014c (x86) or 8664 (x64).
pe_machine() {
  local at
  at=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((at + 4)) -N2 "$1" | tr -d ' '
}
# Whether a PE file still carries a COFF symbol table or debug sections.
pe_has_debug() { # $1 = file, $2 = objdump
  local symbols
  symbols=$(od -An -tu4 -j$(($(od -An -tu4 -j60 -N4 "$1" | tr -d ' ') + 12)) -N4 "$1" | tr -d ' ')
  [ "$symbols" != 0 ] || "$2" -h "$1" | grep -q '\.debug'
}
size_of() { stat -c %s "$1"; }
human() { numfmt --to=iec --suffix=B --format=%.1f "$1"; }

expected=$(printf '%s\n' Quilleteer.exe Quillet.chm README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt |
  LC_ALL=C sort | tr '\n' ' ')
for b in "${builds[@]}"; do
  case $b in
    win32) triple=i686-w64-mingw32 machine=014c bits=32 ;;
    win64) triple=x86_64-w64-mingw32 machine=8664 bits=64 ;;
  esac
  name=Quilleteer-$version-$b
  zip=$dist/$name.zip setup=$dist/$name-setup.exe
  check=$work/$b/unpacked
  rm -rf "$check"
  mkdir -p "$check"
  [ -s "$zip" ] || { problem "$zip is missing"; continue; }
  [ -s "$setup" ] || problem "$setup is missing"
  unzip -q "$zip" -d "$check"
  found=$(cd "$check/$name" 2>/dev/null && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
  [ "$found" = "$expected" ] || problem "$name.zip holds [$found], not [$expected]"
  exe=$check/$name/Quilleteer.exe
  if [ -f "$exe" ]; then
    [ "$(pe_machine "$exe")" = $machine ] || problem "$name: Quilleteer.exe is for machine $(pe_machine "$exe"), not $machine"
    ! pe_has_debug "$exe" "$triple-objdump" || problem "$name: Quilleteer.exe carries debug information"
    resource_version=$("$triple-strings" -n 3 -el "$exe" | sed -n '/^ProductVersion$/{n;p;q}')
    [ "$resource_version" = "$version" ] ||
      problem "$name: Quilleteer.exe's version resource says '$resource_version', not $version"
  fi
  for text in README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
    [ -s "$check/$name/$text" ] || problem "$name: $text is empty"
  done
  grep -q "Quilleteer $version ($bits" "$check/$name/README.txt" ||
    problem "$name: README.txt does not name the version and build"
  grep -q 'Independent JPEG Group' "$check/$name/THIRD-PARTY-NOTICES.txt" ||
    problem "$name: the notices lack libjpeg-turbo's"
  grep -q 'BSD 2-Clause' "$check/$name/THIRD-PARTY-NOTICES.txt" ||
    problem "$name: the notices lack libspng's"
  grep -q 'Jean-loup Gailly' "$check/$name/THIRD-PARTY-NOTICES.txt" ||
    problem "$name: the notices lack zlib's"
  [ ! -f "$setup" ] || [ "$(pe_machine "$setup")" = $machine ] ||
    problem "$name: the installer is for machine $(pe_machine "$setup"), not $machine"
  printf '%-34s %9s  (Quilleteer.exe %s)\n' "$name.zip" "$(human "$(size_of "$zip")")" \
    "$(human "$(size_of "$exe")")"
  if [ -f "$setup" ]; then printf '%-34s %9s\n' "$name-setup.exe" "$(human "$(size_of "$setup")")"; fi
done
[ $problems -eq 0 ] || { echo "package: $problems problems in the packages" >&2; exit 1; }

# Installed, started, closed and removed again, in the builds this machine runs.
wine_detect
driver=$build/win64-release/bin/quill-driver.exe
not_run=()
if [ "$QUILL_WINE_RUNS_32" = yes ]; then
  "$root/tools/install-test.sh" "$dist/Quilleteer-$version-win32-setup.exe" \
    "$work/win32/Quilleteer-$version-win32" "$version" "$driver"
else
  not_run+=("install test of the 32-bit package: $QUILL_WINE_NO_32_REASON")
fi
"$root/tools/install-test.sh" "$dist/Quilleteer-$version-win64-setup.exe" \
  "$work/win64/Quilleteer-$version-win64" "$version" "$driver"

for line in "${not_run[@]}"; do echo "not run: $line"; done
echo "packages of Quilleteer $version in $dist, made and checked in $((SECONDS - started)) s"
