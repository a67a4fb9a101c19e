#!/usr/bin/env bash
# The long run of the kill test: the program killed at random moments while
# it records, deletes, moves a record and saves, ROUNDS times (default 50),
# in every Windows build this machine can run; each round's figures and
# the totals are printed. The test command runs a few rounds of the same.
#   tools/kill.sh [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

rounds=${1:-50}
[[ $rounds =~ ^[0-9]+$ ]] && [ "$rounds" -gt 0 ] || { sed -n '2,6p' "$0" >&2; exit 2; }
builds=(win64)
[ "$(wine_primary_build)" = win32 ] && builds=(win32 win64)
for windows in "${builds[@]}"; do
  build_tree "$windows" e2e_tests Quilleteer
done
start_virtual_display 1280x1024
trap stop_environment EXIT
wine_environment "$build/wineprefix-kill"
wine_virtual_desktop 1280x1024
status=0
for windows in "${builds[@]}"; do
  echo "kill: $windows build, $rounds rounds"
  QUILL_KILL_ROUNDS=$rounds wine_run "$build/$windows/bin/e2e_tests.exe" \
    --gtest_filter='KillTest.*' || status=1
done
exit $status
