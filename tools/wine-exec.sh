#!/usr/bin/env bash
# Runs a Windows program of the build under Wine; CTest's emulator for the
# Windows builds. The test command sets the prefix and the display; a
# developer running CTest by hand gets the build tree's prefix.
set -eu
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no DISPLAY; run the tests through tools/test.sh" >&2
  exit 1
fi
wine_detect
if [ "$QUILL_WINE_RUNS_32" = no ]; then export WINELOADER=$wine64_loader; fi

# A runner killed before this one may have left programs running.
end_leftover_programs
export QUILL_TEST_RUNNER=$$

# The program's output goes through a file, not CTest's pipe: the first
# program of a new Wine session starts Wine's own services, which inherit
# its output and outlive it, and CTest would wait for them until its
# timeout. Here we wait for the program alone.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$(wine_loader)" "$@" </dev/null >"$out" 2>&1 &
program=$!
trap 'kill "$program" 2>/dev/null; end_leftover_programs $$; rm -f "$out"' TERM INT
rc=0
wait "$program" || rc=$?
# What the test started and left behind ends with it.
end_leftover_programs $$
cat "$out"
exit $rc
