#!/usr/bin/env bash
# Builds hushgate.exe and the benchmarks, and prints their figures measured
# side by side under Wine in a fresh XP-like prefix on its own X display.
# Figures only: nothing here passes or fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

install_packages
build_program
configure_and_build bench -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-win32.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null

echo "== Machine"
echo "CPU:   $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "Cores: $(nproc)"
echo "Wine:  $(wine --version)"

make_xp_prefix "$BUILD/wine-prefix-bench"
start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT

echo "== Figures"
bench="$BUILD/bench/bench"
wine "$bench/bench_runner.exe" "$(winepath -w "$EXE")" \
  "$(winepath -w "$bench/minimal_program.exe")" \
  "$(winepath -w "$bench/floor_kernel_advapi.exe")" \
  "$(winepath -w "$bench/floor_eager_imports.exe")" \
  "$(winepath -w "$bench/minimal_tree_dialog.exe")" \
  "$(winepath -w "$bench/in_process_bench.exe")"
