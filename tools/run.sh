#!/usr/bin/env bash
# Builds the 32-bit program and starts it under Wine: on your display if
# there is one; otherwise on a virtual display, where it takes a screenshot
# of the window, prints the file's name and closes the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/tools/setup.sh"
build_tree win32 $(windows_options mingw-i686) -- Quilleteer quill-driver
bin=$build/win32/bin

if display_usable; then
  wine_environment "$build/wineprefix"
  # An earlier screenshot run may have left the virtual desktop switched on.
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  exec wine "$bin/Quilleteer.exe"
fi

trap stop_environment EXIT
size=1024x768
start_virtual_display "$size"
wine_environment "$build/wineprefix"
wine_virtual_desktop "$size"

wine "$bin/Quilleteer.exe" &
program=$!
if ! wine "$bin/quill-driver.exe" wait TFQuillet 60000; then
  echo "Quilleteer did not show its window" >&2
  exit 1
fi
sleep 1  # let the desktop finish drawing the frame
mkdir -p "$root/screenshots"
shot=$root/screenshots/quilleteer-$(date +%Y%m%d-%H%M%S).png
xwd -root -silent | convert xwd:- "png:$shot"
echo "screenshot: $shot"
wine "$bin/quill-driver.exe" close TFQuillet 20000 || true
wait "$program" || true
