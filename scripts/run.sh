#!/usr/bin/env bash
# Installs what is missing, builds hushgate.exe and starts it under Wine in
# its own XP-like prefix, in the language of the caller's locale, passing the
# arguments on. Without a display it runs
# on a virtual one and saves a screenshot to build/screenshots/run.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

install_packages
choose_wine
build_program >/dev/null
build_wine_program >/dev/null

prefix="$BUILD/wine-prefix-run"
if prefix_fits "$prefix"; then
  export WINEPREFIX="$prefix" WINEARCH="$WINE_ARCH"
  install_wine_fonts "$prefix"
else
  make_xp_prefix "$prefix"
fi
# Wine gives the program the interface language of the locale it runs in.
echo "Language: that of your locale (${LC_ALL:-${LC_MESSAGES:-${LANG:-C}}}): German for de_*," \
  "English for any other; /lang:de or /lang:en as the first argument chooses."
if [ "$WINE_BITS" = 64 ]; then
  echo "Starting the 64-bit build ${WINE_EXE#"$ROOT"/}, not the shipped 32-bit exe, because $WINE_REASON"
fi

if [ -n "${DISPLAY:-}" ]; then
  set +e
  wine "$WINE_EXE" "$@"
  status=$?
  echo "hushgate.exe exited with status $status"
  exit $status
fi

start_xvfb
trap 'stop_xvfb' EXIT
wine "$WINE_EXE" "$@" &
program=$!
# Let a window or message box appear, then photograph the screen.
for _ in $(seq 40); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
sleep 2
mkdir -p "$BUILD/screenshots"
import -window root "$BUILD/screenshots/run.png"
echo "Screenshot: build/screenshots/run.png"
if kill -0 "$program" 2>/dev/null; then
  # Its window (or message box) is up and waiting for a user there is none of.
  echo "hushgate.exe is waiting for input; closing it (no display to answer it on)."
  wineserver -k
  wait "$program" 2>/dev/null || true
  exit 0
fi
set +e
wait "$program"
status=$?
echo "hushgate.exe exited with status $status"
exit $status
