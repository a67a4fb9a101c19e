#!/usr/bin/env bash
# Installs a package as a user would, silently, in a fresh Wine prefix on a
# virtual display of its own; starts the installed program from where its
# Start-menu shortcut points, sees its window and closes it; uninstalls it
# silently, as "Apps" would with the entry's own command; then finds the
# program's folder, shortcut, entry and settings gone and a storage file in
# the user's documents still there. Run by the package and test commands:
#   tools/install-test.sh SETUP.exe STAGED-FOLDER VERSION DRIVER.exe
# where the staged folder holds the files the installer should put in
# place and the driver is a built quill-driver.exe.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -ne 4 ]; then
  echo "usage: tools/install-test.sh SETUP.exe STAGED-FOLDER VERSION DRIVER.exe" >&2
  exit 2
fi
setup=$(realpath "$1") stage=$(realpath "$2") version=$3 driver=$4
name=$(basename "$setup" .exe)
[ -f "$driver" ] || { echo "install test: $driver is not built" >&2; exit 1; }
dir=$build/install-test/$name
rm -rf "$dir"
mkdir -p "$dir/home"
trap stop_environment EXIT

failures=0
fail() { echo "install test ($name): FAIL: $*" >&2; failures=$((failures + 1)); }
# Every Wine step has a time limit: nothing here may hang the package command.
w() { local limit=$1; shift; timeout -k 5 "$limit" "$(wine_loader)" "$@"; }
# Answers from Wine's tools; nothing where there is none, which the checks
# below then report.
reg_value() { # $1 = key, $2 = value name
  { w 60 reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { w 60 reg query "$1" >/dev/null 2>&1; }
unix_path() { { w 60 winepath -u "$1" 2>/dev/null || true; } | tr -d '\r'; }
windows_folder() { { w 60 cmd /c echo "%$1%" 2>/dev/null || true; } | tr -d '\r'; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quilleteer'
settings_key='HKCU\Software\Marlowin\Quilleteer'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# A home of its own: Wine links the user's documents to folders in it, and
# nothing the installer does reaches this machine's own menus or files.
export HOME=$dir/home
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_DOCUMENTS_DIR
start_virtual_display 1024x768
wine_environment "$dir/prefix"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
wine_virtual_desktop 1024x768

echo "install test ($name): installing"
started=$SECONDS
w 300 "$setup" /S || fail "the silent install ended with $?"
install_dir=$(unix_path "$(windows_folder LOCALAPPDATA)\\Programs\\Quilleteer")
shortcut_windows="$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Quilleteer.lnk"
shortcut=$(unix_path "$shortcut_windows")
documents=$(unix_path "$(windows_folder USERPROFILE)\\Documents")
echo "install test ($name): installed in $((SECONDS - started)) s"

for f in "$stage"/*; do
  cmp -s "$f" "$install_dir/$(basename "$f")" || fail "$(basename "$f") is not installed as packaged"
done
[ -f "$install_dir/uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the Apps entry has no version $version"
[ "$(reg_value "$uninstall_key" Publisher)" = Marlowin ] || fail "the Apps entry has no publisher"
[ -z "$(reg_value "$run_key" Quilleteer)" ] || fail "starting with Windows is on by default"

# Started from the shortcut's target, as the Start menu does.
target=$(w 60 "$driver" target "$shortcut_windows" | tr -d '\r') || fail "the shortcut cannot be read"
if [ -n "$target" ] && [ "$(realpath -m "$(unix_path "$target")")" = "$(realpath -m "$install_dir/Quilleteer.exe")" ]; then
  w 200 "$target" >"$dir/program.log" 2>&1 &
  program=$!
  if w 150 "$driver" wait TFQuillet 120000; then
    sleep 1  # let the desktop finish drawing the frame
    xwd -root -silent | convert xwd:- "png:$dir/installed.png"
    echo "install test ($name): the installed program's window: $dir/installed.png"
    w 60 "$driver" close TFQuillet 30000 || fail "the installed program did not close"
  else
    fail "the installed program showed no window; its output: $(tail -n 5 "$dir/program.log")"
  fi
  wait "$program" || true
  # It writes its settings when it ends: the uninstaller has to take them.
  reg_key_exists "$settings_key" || fail "the installed program left no settings"
else
  fail "the shortcut points at '$target', not at the installed program"
fi

# A storage file the user saved: the uninstaller must not touch it.
mkdir -p "$documents"
storage=$documents/記録.stg
head -c 8192 /dev/urandom >"$storage"
sum=$(sha256sum <"$storage")

echo "install test ($name): uninstalling"
uninstall=$(reg_value "$uninstall_key" QuietUninstallString)
uninstaller=$(sed -n 's/^"\([^"]*\)" \/S$/\1/p' <<<"$uninstall")
if [ -n "$uninstaller" ]; then
  w 120 "$uninstaller" /S || fail "the silent uninstall ended with $?"
  # The uninstaller hands its work to a copy of itself and returns at once.
  for _ in $(seq 1 600); do
    [ -e "$install_dir" ] || [ -e "$shortcut" ] || break
    sleep 0.1
  done
else
  fail "the Apps entry has no silent uninstall command: '$uninstall'"
fi
[ ! -e "$install_dir" ] || fail "the program's folder is still there: $(ls "$install_dir" | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
! reg_key_exists "$uninstall_key" || fail "the Apps entry is still there"
! reg_key_exists "$settings_key" || fail "the program's settings are still there"
{ [ -f "$storage" ] && [ "$(sha256sum <"$storage")" = "$sum" ]; } ||
  fail "the storage file in the documents is gone or changed"

if [ $failures -gt 0 ]; then
  echo "install test ($name): $failures failed" >&2
  exit 1
fi
# A prefix takes some 700 MB: it is kept only where a failure needs a look.
stop_environment
wineserver -w 2>/dev/null || true
rm -rf "$dir/prefix" "$dir/home" || true
echo "install test ($name): passed"
