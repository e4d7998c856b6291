#!/usr/bin/env bash
# Builds hushgate.exe and the benchmarks, and prints their figures measured
# side by side under Wine in a fresh XP-like prefix on its own X display.
# Figures only: nothing here passes or fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

install_packages
choose_wine
build_program
build_wine_program
# The benchmarks run beside the exe that Wine can start: the shipped one, or
# its 64-bit copy on a machine that cannot run 32-bit programs.
if [ "$WINE_BITS" = 64 ]; then
  bench_folder=bench64 toolchain=mingw64-win32.cmake
else
  bench_folder=bench toolchain=mingw-win32.cmake
fi
configure_and_build_in "$bench_folder" bench -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null

echo "== Machine"
echo "CPU:   $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "Cores: $(nproc)"
echo "Wine:  $(wine --version)"

make_xp_prefix "$BUILD/wine-prefix-bench"
# Internet Explorer 8 and Media Player 10, so that the tree holds their
# settings beside Windows' own: 46 items of the 62 settings.
plant_internet_programs
start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT

echo "== Figures"
wine_width_note
echo "Size of the shipped 32-bit exe: $(stat -c %s "$EXE") bytes"
bench="$BUILD/$bench_folder/bench"
wine "$bench/bench_runner.exe" "$(winepath -w "$WINE_EXE")" \
  "$(winepath -w "$bench/minimal_program.exe")" \
  "$(winepath -w "$bench/floor_kernel_advapi.exe")" \
  "$(winepath -w "$bench/floor_eager_imports.exe")" \
  "$(winepath -w "$bench/minimal_tree_dialog.exe")" \
  "$(winepath -w "$bench/in_process_bench.exe")"
