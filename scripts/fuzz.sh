#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) in build/fuzz and runs each one over its seed corpus.
#   scripts/fuzz.sh          five minutes per target
#   scripts/fuzz.sh short    a smoke run of a few seconds per target
# Exits non-zero when any target crashes or breaks an invariant; the input
# that did it is saved in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

mode=${1:-long}
case "$mode" in
  short) limits=(-runs=30000 -max_total_time=10) ;;
  long) limits=(-max_total_time=300) ;;
  *) echo "usage: scripts/fuzz.sh [short]" >&2; exit 2 ;;
esac

# Only what the fuzz build needs, not the whole test set-up.
packages=(cmake make clang libclang-rt-14-dev)
install_packages
CC=clang CXX=clang++ configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Stored values up to 64 KiB plus the header bytes before them.
declare -A maxLength=([CommandLineFuzzer]=4096 [RegistryValueFuzzer]=70100 [PolicyFileFuzzer]=8192)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in CommandLineFuzzer RegistryValueFuzzer PolicyFileFuzzer; do
  # New inputs go to the build folder; the committed seeds stay as they are.
  corpus="$BUILD/fuzz/corpus/$target"
  artifacts="$BUILD/fuzz/artifacts"
  log="$BUILD/fuzz/$target.log"
  mkdir -p "$corpus" "$artifacts"
  echo "== $target ($mode)"
  if "$BUILD/fuzz/fuzz/$target" "${limits[@]}" -max_len="${maxLength[$target]}" \
       -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
       "$corpus" "$ROOT/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb|new_units_added))' \
      "$log" || tail -5 "$log"
  else
    echo "$target FAILED; its log is $log:" >&2
    tail -60 "$log" >&2
    status=1
  fi
done
exit $status
