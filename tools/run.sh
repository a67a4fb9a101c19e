#!/usr/bin/env bash
# Builds the program and starts it under Wine: the 32-bit build where this
# machine can execute 32-bit programs, else the 64-bit one. On your display
# if there is one; otherwise on a virtual display, where it takes a
# screenshot of the window, prints the file's name and closes the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
prepare_machine "$@"

wine_detect
# The optimised program without debug information, as a person runs it.
tree=$(wine_primary_build)-release
build_tree "$tree" Quilleteer quill-driver
if [ "$tree" = win32-release ]; then
  echo "starting the 32-bit build"
else
  echo "starting the 64-bit build: $QUILL_WINE_NO_32_REASON"
fi
bin=$build/$tree/bin

if display_usable; then
  wine_environment "$build/wineprefix"
  # An earlier screenshot run may have left the virtual desktop switched on.
  wine_run reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  exec "$(wine_loader)" "$bin/Quilleteer.exe"
fi

trap stop_environment EXIT
size=1024x768
start_virtual_display "$size"
wine_environment "$build/wineprefix"
wine_virtual_desktop "$size"

wine_run "$bin/Quilleteer.exe" &
program=$!
if ! wine_run "$bin/quill-driver.exe" wait TFQuillet 60000; then
  echo "Quilleteer did not show its window" >&2
  exit 1
fi
sleep 1  # let the desktop finish drawing the frame
mkdir -p "$root/screenshots"
shot=$root/screenshots/quilleteer-$(date +%Y%m%d-%H%M%S).png
xwd -root -silent | convert xwd:- "png:$shot"
echo "screenshot: $shot"
wine_run "$bin/quill-driver.exe" close TFQuillet 20000 || true
wait "$program" || true
