#!/usr/bin/env bash
# Runs a Windows program of the build under Wine; CTest's emulator for the
# Windows builds. The test command sets the prefix and the display; a
# developer running CTest by hand gets the build tree's prefix.
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no DISPLAY; run the tests through tools/test.sh" >&2
  exit 1
fi
exec wine "$@"
