# Shared by the run and test scripts: packages, builds, Wine prefixes, Xvfb.
# Source it from the repository root.

ROOT=$(pwd)
BUILD="$ROOT/build"
EXE="$BUILD/program/hushgate.exe"
export WINEDEBUG=-all

packages=(cmake make g++ python3 libgtest-dev libgmock-dev googletest g++-mingw-w64-i686
          wine wine32:i386 wine64 xvfb xdotool imagemagick x11-utils
          clang libclang-rt-14-dev)

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {  # tier, extra cmake arguments...
  local tier=$1; shift
  cmake -S "$ROOT" -B "$BUILD/$tier" -DHUSHGATE_TIER="$tier" "$@" >/dev/null
  cmake --build "$BUILD/$tier" -j"$(nproc)"
}

build_program() {
  configure_and_build program -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-win32.cmake" \
    -DCMAKE_BUILD_TYPE=Release
}

build_native() {
  configure_and_build native -DCMAKE_BUILD_TYPE=Debug -DHUSHGATE_EXE="$EXE"
}

build_wine_tests() {
  configure_and_build wine -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-posix.cmake" \
    -DCMAKE_BUILD_TYPE=Release
}

# A fresh 32-bit prefix that reports Windows XP to every program in it.
make_xp_prefix() {  # directory
  rm -rf "$1"
  mkdir -p "$(dirname "$1")"
  export WINEPREFIX="$1" WINEARCH=win32
  # No prompts to install Mono or Gecko: they would wait for an answer.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
  # Without a window manager, managed windows cost seconds to close.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}

XVFB_PID=""
start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool mousemove 0 0 >/dev/null 2>&1 || true
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

# Starts hushgate.exe in the current prefix and display, waits for its main
# window, and saves the screen to the given PNG; the program keeps running.
screenshot_main_window() {  # png
  wine "$EXE" >/dev/null 2>&1 &
  local window=""
  for _ in $(seq 150); do
    window=$(xdotool search --name '^Hushgate V3.61$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "The main window did not appear" >&2; return 1; }
  # Wine paints moved children only once the program is idle.
  sleep 2
  mkdir -p "$(dirname "$1")"
  import -window root "$1"
}

# Opens one of the main window's dialogs through its menu command, saves the
# screen, and closes the dialog again.
screenshot_dialog() {  # command-id dialog-caption png
  local send="$BUILD/wine/tests/send_command.exe"
  wine "$send" 'Hushgate V3.61' "$1" >/dev/null 2>&1 || return 1
  sleep 2
  import -window root "$3"
  wine "$send" "$2" 2 >/dev/null 2>&1
  sleep 1
}
