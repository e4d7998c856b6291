#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test tier:
# native (in-memory Windows, sanitizers), then Wine (contract and end to end)
# in a fresh XP-like prefix under its own X display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

install_packages
choose_wine
build_program
build_wine_program
build_native
build_wine_tests
build_shipped_exe_checks

passed=0
failed=0
count() {  # reads a ctest log and adds up its result line
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)
  # A ctest that could not even list its tests failed, and the run goes on
  # to its summary.
  if [ -z "$line" ]; then
    echo "No test ran from $1" >&2
    failed=$((failed + 1))
    return 0
  fi
  local fail total
  fail=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fail))
  failed=$((failed + fail))
}

status=0
echo "== Reproducible build"
# A second clean build of the same sources in another folder must give the
# very same bytes.
rm -rf "$BUILD/program-again"
cmake -S "$ROOT" -B "$BUILD/program-again" -DHUSHGATE_TIER=program \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-win32.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD/program-again" -j"$(nproc)" >/dev/null
if cmp -s "$BUILD/program/hushgate.exe.sha256" "$BUILD/program-again/hushgate.exe.sha256"; then
  echo "Two clean builds: $(cut -d' ' -f1 "$BUILD/program/hushgate.exe.sha256")"
else
  echo "Two clean builds differ" >&2
  status=1
fi

echo "== Native tier"
ctest --test-dir "$BUILD/native" -j"$(nproc)" --output-on-failure 2>&1 | tee "$BUILD/native.log" || status=1
count "$BUILD/native.log"

echo "== Fuzz smoke run"
scripts/fuzz.sh short || status=1

echo "== Wine tier"
# A German system: the suites expect the German texts. The language tests
# run once more on an English one (ctest sets LC_ALL=en_US.UTF-8 for them).
WINE_LC=de_DE.UTF-8
make_xp_prefix "$BUILD/wine-prefix-test"
start_xvfb
trap 'stop_xvfb; wineserver -k 2>/dev/null || true' EXIT
export HUSHGATE_EXE
HUSHGATE_EXE=$(wine_env winepath -w "$WINE_EXE")
# A window test that waits for input no one gives must not hold up the run.
# The cases of a 64-bit Windows run in a prefix of their own, below.
wine_env ctest --test-dir "$WINE_TESTS" --timeout 300 --output-on-failure -E Wow64 2>&1 | tee "$BUILD/wine.log" || status=1
count "$BUILD/wine.log"

echo "== Wine tier on a 64-bit Windows (XP x64)"
# The shipped 32-bit exe under Wine's WOW64, in a fresh 64-bit prefix.
if [ "$WINE_BITS" = 32 ]; then
  wineserver -k 2>/dev/null || true
  make_xp64_prefix "$BUILD/wine-prefix-x64"
  wine_env ctest --test-dir "$WINE_TESTS" --timeout 300 --output-on-failure -R Wow64 2>&1 | tee "$BUILD/wine-x64.log" || status=1
  count "$BUILD/wine-x64.log"
  wineserver -k 2>/dev/null || true
else
  echo "The cases of a 64-bit Windows were not run: they need the 32-bit exe under WOW64, and $WINE_REASON"
fi

echo "== Screenshots (fresh prefixes, German and English)"
shots="$BUILD/screenshots"
wineserver -k 2>/dev/null || true
make_xp_prefix "$BUILD/wine-prefix-screens"
# What the shipped exe's report must list under the emulator, from a prefix
# as fresh as its own (exit status 1: something is on).
[ "$WINE_BITS" = 32 ] || wine_env wine "$WINE_EXE" /status >"$BUILD/status-fresh-prefix.txt" 2>/dev/null || true
if screenshot_main_window "$shots/main-window.png" &&
   screenshot_dialog 40003 "" "$shots/about.png" &&
   screenshot_dialog 40005 "Spezial" "$shots/status-information.png" &&
   screenshot_dialog 40013 "TimeServer festlegen" "$shots/time-server.png" &&
   screenshot_dialog 40030 "Speichern als" "$shots/save-profile.png" &&
   { wineserver -k; screenshot_main_window "$shots/main-window-lang-en.png" /lang:en; }; then
  echo "Saved build/screenshots/: main-window, about, status-information, time-server, save-profile, main-window-lang-en"
else
  echo "A window did not appear for its screenshot" >&2
  status=1
fi
wineserver -k 2>/dev/null || true
# The same machine once a Group Policy decides 4 and 10: their own picture.
plant_policies
if screenshot_main_window "$shots/main-window-policy.png"; then
  echo "Saved build/screenshots/: main-window-policy"
else
  echo "A window did not appear for its policy screenshot" >&2
  status=1
fi
wineserver -k 2>/dev/null || true
# With Internet Explorer 8 and Media Player 10 there too: IE 8's settings
# and the category of Windows' own Internet communication.
plant_internet_programs
if screenshot_internet_settings "$shots/main-window-internet.png"; then
  echo "Saved build/screenshots/: main-window-internet"
else
  echo "A window did not appear for its Internet screenshot" >&2
  status=1
fi
wineserver -k 2>/dev/null || true
# An English system, as a user there sees it without any switch.
WINE_LC=en_US.UTF-8
make_xp_prefix "$BUILD/wine-prefix-screens-en"
if screenshot_main_window "$shots/main-window-en.png" &&
   screenshot_dialog 40003 "" "$shots/about-en.png" &&
   screenshot_dialog 40005 "Special" "$shots/status-information-en.png" &&
   screenshot_dialog 40013 "Set time server" "$shots/time-server-en.png" &&
   screenshot_dialog 40030 "Save As" "$shots/save-profile-en.png" &&
   { wineserver -k; plant_internet_programs; screenshot_internet_settings "$shots/main-window-internet-en.png"; }; then
  echo "Saved build/screenshots/: main-window-en, about-en, status-information-en, time-server-en, save-profile-en, main-window-internet-en"
else
  echo "A window did not appear for its English screenshot" >&2
  status=1
fi
wineserver -k 2>/dev/null || true
WINE_LC=""

# Where the Wine tier ran the 64-bit copy, a few checks run the very bytes
# that ship, through qemu. Checks that cannot run here count as not run.
shipped_checks=5
not_run=0
if [ "$WINE_BITS" = 64 ]; then
  echo "== The shipped exe under Wine through qemu"
  problem=$(emulation_32bit_problem)
  if [ -n "$problem" ]; then
    echo "The shipped exe's $shipped_checks checks were not run: $problem"
    not_run=$shipped_checks
  else
    run_emulated_32bit scripts/shipped-exe.sh "$BUILD/status-fresh-prefix.txt" 2>&1 |
      tee "$BUILD/shipped-exe.log" || true
    ran=$(grep -c '^Passed: ' "$BUILD/shipped-exe.log" || true)
    passed=$((passed + ran))
    # A check that printed no verdict failed all the same.
    failed=$((failed + shipped_checks - ran))
  fi
fi

echo
wine_width_note
echo "Tests: $passed passed, $failed failed$([ "$not_run" -eq 0 ] || echo ", $not_run not run")"
[ "$failed" -eq 0 ] || status=1
exit $status
