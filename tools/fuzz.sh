#!/usr/bin/env bash
# Runs every libFuzzer target (fuzz/NAME_fuzzer.cpp) under ASan+UBSan, with
# its seeds (fuzz/corpus/NAME) and dictionary (fuzz/NAME.dict).
#   tools/fuzz.sh [SECONDS]          long run, default 600 s per fuzzer; what
#                                    it learns stays in build/fuzz/corpus/NAME
#   tools/fuzz.sh --brief [SECONDS]  the test command's run: default 15 s per
#                                    fuzzer, from the seeds alone
# A finding is written to build/fuzz/artifacts/ and fails the command.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

brief=0
if [ "${1:-}" = --brief ]; then brief=1; shift; fi
seconds=${1:-$([ $brief -eq 1 ] && echo 15 || echo 600)}

names=()
for source in "$root"/fuzz/*_fuzzer.cpp; do
  names+=("$(basename "$source" _fuzzer.cpp)")
done
build_tree fuzz "${names[@]/%/_fuzzer}"

artifacts=$build/fuzz/artifacts
mkdir -p "$artifacts"
status=0
for name in "${names[@]}"; do
  if [ $brief -eq 1 ]; then
    corpus=$(mktemp -d)
  else
    corpus=$build/fuzz/corpus/$name
    mkdir -p "$corpus"
  fi
  options=(-max_total_time="$seconds" -artifact_prefix="$artifacts/$name-" -print_final_stats=1)
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  log=$build/fuzz/$name.log
  echo "fuzz: $name for ${seconds}s"
  if "$build/fuzz/bin/${name}_fuzzer" "${options[@]}" "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    echo "fuzz: $name: $(grep -m1 '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no findings"
  else
    echo "fuzz: $name FAILED; see $log and $artifacts" >&2
    tail -n 30 "$log" >&2
    status=1
  fi
  [ $brief -eq 1 ] && rm -rf "$corpus"
done
exit $status
