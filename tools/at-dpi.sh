#!/usr/bin/env bash
# Runs a Windows program of the build under Wine on a screen of the given
# dots per inch. Wine's scaling is a setting of the whole prefix, so the
# program runs in a prefix of its own beside the test command's, on the
# same display. CTest's command for the window's tests on a scaled screen.
#   tools/at-dpi.sh DPI PROGRAM [ARGUMENTS...]
set -eu
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
dpi=$1
shift
if [ -z "${DISPLAY:-}" ]; then
  echo "at-dpi: no DISPLAY; run the tests through tools/test.sh" >&2
  exit 1
fi
wine_environment "${WINEPREFIX:-$build/wineprefix}-$dpi-dpi" >/dev/null
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
  wine_run reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
done
# Restarted with the setting in place, inside a desktop as the others run.
wine_virtual_desktop 1280x1024 >/dev/null 2>&1
rc=0
QUILL_SCREEN_DPI=$dpi bash "$here/wine-exec.sh" "$@" || rc=$?
wineserver -k 2>/dev/null || true
exit $rc
