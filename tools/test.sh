#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan+UBSan,
# the fuzzers briefly, and the Windows builds under Wine on a virtual
# display of its own: both builds where this machine can execute 32-bit
# programs, the 64-bit one where it cannot (the 32-bit one is still built);
# then the installer of each build it runs, installed and removed again.
#   tools/test.sh                      everything, once
#   tools/test.sh --windows-rounds N   only the Windows suites, N times in a
#                                      row, each round in a fresh prefix
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$root/tools/packaging.sh"
prepare_machine "$@"
trap stop_environment EXIT

rounds=0
if [ "${1:-}" = "--windows-rounds" ]; then rounds=${2:?how many rounds}; fi

echo "== building"
if [ "$rounds" -eq 0 ]; then
  build_tree native
  build_tree native-sanitize
fi
build_tree win32
build_tree win64

passed=0
failed=0
not_run=()
# run_suite NAME: CTest over one build; adds up the GoogleTest cases.
run_suite() {
  local name=$1 results=$build/$1/test-results
  rm -rf "$results"
  echo "== tests: $name"
  local rc=0
  ctest --test-dir "$build/$name" --output-on-failure -j "$jobs" || rc=$?
  local cases=0 failures=0 f
  for f in "$results"/*.xml; do
    [ -f "$f" ] || continue
    local head
    head=$(grep -m1 '<testsuites' "$f")
    local t=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$head")
    local x=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$head")
    local d=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$head")
    cases=$((cases + ${t:-0} - ${d:-0}))
    failures=$((failures + ${x:-0}))
  done
  # A binary that crashed or timed out leaves no count of its own.
  if [ $rc -ne 0 ] && [ $failures -eq 0 ]; then failures=1; fi
  passed=$((passed + cases - failures))
  failed=$((failed + failures))
}

if [ "$rounds" -eq 0 ]; then
  echo "== format"
  # Every source as the committed .clang-format lays it out.
  if find "$root/src" "$root/tests" "$root/fuzz" "$root/bench" "$root/tools" \
      \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi

  run_suite native
  run_suite native-sanitize

  # Each fuzzer briefly from its seeds; longer runs are tools/fuzz.sh.
  echo "== fuzz"
  if "$root/tools/fuzz.sh" --brief 15; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
fi

# The display and Wine's desktop, started afresh; with "fresh", in a new
# prefix, so that no settings or files are left from an earlier run.
start_windows_environment() { # [fresh]
  stop_environment
  start_virtual_display 1280x1024
  if [ "${1:-}" = fresh ]; then rm -rf "$build/wineprefix-test"; fi
  wine_environment "$build/wineprefix-test"
  wine_virtual_desktop 1280x1024
}

# Each Windows suite starts from a state it checks: the display answers
# (started again, with Wine's desktop, if it went away), no program of an
# earlier runner is left, the prefix's server is up.
run_windows_suite() {
  if ! display_usable; then
    echo "== the virtual display had gone: starting it and Wine's desktop again"
    start_windows_environment
  fi
  end_leftover_programs
  wineserver -p || [ $? -eq 2 ]
  run_suite "$1"
}

wine_detect
[ "$QUILL_WINE_RUNS_32" = yes ] || not_run+=("win32 (its suites and its install test): $QUILL_WINE_NO_32_REASON")
for round in $(seq 1 "$((rounds > 0 ? rounds : 1))"); do
  start_windows_environment fresh
  before_passed=$passed before_failed=$failed
  [ "$QUILL_WINE_RUNS_32" = yes ] && run_windows_suite win32
  run_windows_suite win64
  if [ "$rounds" -gt 0 ]; then
    echo "round $round: $((passed - before_passed)) passed, $((failed - before_failed)) failed"
  fi
done

# The installer the package command makes, around this run's own program:
# installed silently, started from its shortcut, closed and uninstalled in
# a fresh prefix (tools/install-test.sh). The package command runs the same
# test on the optimised packages it makes.
install_test() { # $1 = win32 or win64
  local folder=$build/test-package/$1
  local stage=$folder/Quilleteer-$version-$1 setup=$folder/Quilleteer-$version-$1-setup.exe
  echo "== install test: $1"
  if stage_package "$1" "$1" "$stage" && make_installer "$1" "$stage" "$setup" &&
     "$root/tools/install-test.sh" "$setup" "$stage" "$version" "$build/win64/bin/quill-driver.exe"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
}
if [ "$rounds" -eq 0 ]; then
  read_version win64
  [ "$QUILL_WINE_RUNS_32" = yes ] && install_test win32
  install_test win64
fi

# What the window looks like, for people to check.
shots=$build/screenshots
mkdir -p "$shots"
for f in "$build/$(wine_primary_build)"/bin/screens/*.bmp; do
  [ -f "$f" ] && convert "$f" "$shots/$(basename "${f%.bmp}").png"
done
echo "screenshots of the main window: $shots"

for line in "${not_run[@]}"; do echo "not run: $line"; done
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
