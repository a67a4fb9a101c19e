#!/usr/bin/env bash
# Runs libFuzzer targets (fuzz/NAME_fuzzer.cpp) under ASan+UBSan, with their
# seeds (fuzz/corpus/NAME) and dictionaries (fuzz/NAME.dict).
#   tools/fuzz.sh [SECONDS] [NAME...]    long run, default 600 s per fuzzer;
#                                        what it learns stays in
#                                        build/fuzz/corpus/NAME
#   tools/fuzz.sh --minutes N [NAME...]  long run of N minutes per fuzzer
#   tools/fuzz.sh --brief [SECONDS] [NAME...]
#                                        the test command's run: default 15 s
#                                        per fuzzer, from the seeds alone
# NAMEs choose fuzzers (default: all). At the end a table gives each
# fuzzer's runs, coverage, corpus size and finding. A finding is written to
# build/fuzz/artifacts/ and fails the command.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

usage() {
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
number() { [[ ${1:-} =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ]; }

brief=0
seconds=600
case "${1:-}" in
  --brief)
    brief=1; seconds=15; shift
    if number "${1:-}"; then seconds=$1; shift; fi ;;
  --minutes)
    number "${2:-}" || usage
    seconds=$(($2 * 60)); shift 2 ;;
  -*) usage ;;
  *)
    if number "${1:-}"; then seconds=$1; shift; fi ;;
esac

names=("$@")
if [ $# -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzzer.cpp; do
    names+=("$(basename "$source" _fuzzer.cpp)")
  done
fi
for name in "${names[@]}"; do
  [ -f "$root/fuzz/${name}_fuzzer.cpp" ] || { echo "fuzz: no fuzzer named $name" >&2; exit 2; }
done
build_tree fuzz "${names[@]/%/_fuzzer}"

artifacts=$build/fuzz/artifacts
mkdir -p "$artifacts"
status=0
table=()
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
  finding=none
  if ! "$build/fuzz/bin/${name}_fuzzer" "${options[@]}" "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    finding=$(grep -ao "Test unit written to .*" "$log" | tail -n 1 | sed 's/.* to //')
    finding=${finding:-"see $log"}
    echo "fuzz: $name FAILED; see $log and $artifacts" >&2
    tail -n 30 "$log" >&2
    status=1
  fi
  # The last status line holds the coverage and the corpus ("corp: N/BYTES").
  # A fuzzer's own output may hold any bytes: the log is read as text.
  runs=$(grep -a '^stat::number_of_executed_units' "$log" | tail -n 1 | awk '{print $2}' || true)
  last=$(grep -aE '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(grep -oE 'cov: [0-9]+' <<<"$last" | awk '{print $2}' || true)
  corp=$(grep -oE 'corp: [0-9]+' <<<"$last" | awk '{print $2}' || true)
  table+=("$(printf '%-22s %12s %8s %8s  %s' "$name" "${runs:--}" "${cov:--}" "${corp:--}" "$finding")")
  [ $brief -eq 1 ] && rm -rf "$corpus"
done

printf '\n%-22s %12s %8s %8s  %s\n' fuzzer runs coverage corpus finding
printf '%s\n' "${table[@]}"
exit $status
