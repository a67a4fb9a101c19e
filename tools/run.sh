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

log=$build/run-$tree.log
wine_run "$bin/Quilleteer.exe" >"$log" 2>&1 &
program=$!
# The first start on a new machine also fills Wine's caches: be patient,
# and when the window still does not come, say what the program said.
if ! wine_run "$bin/quill-driver.exe" wait TFQuillet 180000; then
  if kill -0 "$program" 2>/dev/null; then state="still running"; else state="ended"; fi
  echo "Quilleteer did not show its window within 3 minutes (the program has $state); its output:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
sleep 1  # let the desktop finish drawing the frame
mkdir -p "$root/screenshots"
shot=$root/screenshots/quilleteer-$(date +%Y%m%d-%H%M%S).png
xwd -root -silent | convert xwd:- "png:$shot"
echo "screenshot: $shot"
wine_run "$bin/quill-driver.exe" close TFQuillet 20000 || true
wait "$program" || true
