#!/usr/bin/env bash
# A few checks of the shipped 32-bit hushgate.exe under Wine, for machines
# whose kernel runs 32-bit programs only through an emulator: test.sh starts
# this script through run_emulated_32bit (common.sh), inside a namespace of
# its own where qemu runs them. The Wine tier has already run every test on
# the 64-bit copy; these prove the very bytes that ship. Prints one line per
# check ("Passed: ..." or "Failed: ...").
# Argument: the 64-bit build's /status report of a fresh prefix, to compare.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

reference=$1
WINE_BITS=32 WINE_ARCH=win32 WINE_EXE=$EXE WINE_TESTS=$BUILD/wine
# The 64-bit tier's loader shims stay out: here the 32-bit loader runs.
PATH=$(tr ':' '\n' <<<"$PATH" | grep -vx "$BUILD/wine64-loader" | paste -sd:)
export PATH
WINE_LC=de_DE.UTF-8
# Each Wine process starts under the emulator; the window takes longer.
WINDOW_WAIT_TENTHS=900

verdict() {  # name, then the command whose status decides
  local name=$1; shift
  if "$@"; then echo "Passed: $name"; else echo "Failed: $name"; fi
}

make_xp_prefix "$BUILD/wine-prefix-shipped"
start_xvfb
# One server for the whole run: each prefix boots once.
wineserver -p
trap 'wineserver -k 2>/dev/null; stop_xvfb' EXIT

# The report lists every setting, as the 64-bit build lists them in its own
# fresh prefix (the header's computer, user and time aside).
status_lists_every_setting() {
  local report="$BUILD/status-shipped.txt" status
  wine_env wine "$EXE" /status >"$report"
  status=$?
  [ "$status" -le 1 ] || { echo "  /status exited with $status" >&2; return 1; }
  diff <(tail -n +2 "$reference" | tr -d '\r') <(tail -n +2 "$report" | tr -d '\r') >&2 &&
    [ "$(head -1 "$report" | cut -f1)" = "Hushgate 3.61" ]
}
verdict "/status lists every setting as the 64-bit build does, exit 0 or 1" status_lists_every_setting

# The window in German until its tree is filled (it shows only then), saved
# while the prefix is fresh, and closed with "&Beenden" (IDCANCEL); the
# program ends with status 0.
window_opens_and_closes() {
  screenshot_main_window "$BUILD/screenshots/main-window-shipped.png" || return 1
  local program=$SCREENSHOT_PROGRAM
  wine_env wine "$WINE_TESTS/tests/send_command.exe" 'Hushgate V3.61' 2 || return 1
  wait "$program"
}
verdict "the window opens in German, is saved and closes with &Beenden" window_opens_and_closes

# Existing end-to-end tests on the shipped exe: an apply and its /undo with
# the registry read back, the mistyped message for "ü", the window in German.
checks="AdminEndToEnd.UndoGivesBackTheRegistryAndStartTypesOfBefore"
checks+=":Arguments/MistypedCommandLine.ShowsTheMessageOnceAndExitsTwo/LetterAlone"
checks+=":LanguageEndToEnd.WithoutTheSwitchTheUserInterfaceLanguageChooses"
HUSHGATE_EXE=$(wine_env winepath -w "$EXE") HUSHGATE_EXPECTED_LANGUAGE=de \
  wine_env wine "$WINE_TESTS/tests/end_to_end_tests.exe" --gtest_filter="$checks" \
  >"$BUILD/shipped-exe-tests.log" 2>&1
for name in ${checks//:/ }; do
  verdict "$name" grep -qF "[       OK ] $name (" "$BUILD/shipped-exe-tests.log"
done
