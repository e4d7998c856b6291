# Shared by the run and test scripts: packages, builds, Wine prefixes, Xvfb.
# Source it from the repository root.

ROOT=$(pwd)
BUILD="$ROOT/build"
EXE="$BUILD/program/hushgate.exe"
export WINEDEBUG=-all

packages=(cmake make g++ python3 libgtest-dev libgmock-dev googletest g++-mingw-w64-i686
          g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32
          wine wine32:i386 wine64 fonts-wine xvfb xdotool imagemagick x11-utils
          clang libclang-rt-14-dev locales)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# The apt configuration the helpers below read and write; the set-up's own
# test points it at scratch folders.
APT_ETC=${APT_ETC:-/etc/apt}

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO dpkg --add-architecture i386
    apt_update
    apt_install "${missing[@]}"
  fi
  generate_locales
  install_emulator_if_needed
}

# Only where Wine's 32-bit loader cannot run natively does the shipped exe
# need qemu-user (10 or later, from backports: bookworm's 7.2 takes a minute
# to start each Wine process). A machine that runs 32-bit programs never has
# its apt sources touched. Nothing here fails the set-up: without an archive
# entry the emulator's checks count as not run.
install_emulator_if_needed() {
  [ "${HUSHGATE_WINE64:-0}" = 1 ] || ! wine32_runs_natively || return 0
  dpkg -s qemu-user 2>/dev/null | grep -q '^Version: 1:[1-9][0-9]' && return 0
  add_backports
  has_backports || return 0
  echo "Installing: qemu-user ($BACKPORTS)"
  apt_update
  # Without the recommended qemu-user-binfmt: no global registration, the
  # emulator serves only the private one of the Wine tier.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q \
    --no-install-recommends -t "$BACKPORTS" qemu-user || true
}

# A mirror caught mid-sync fails one index now and then: try again, then go
# on with the lists there are (the install says what is still missing).
apt_update() {
  $SUDO apt-get update -q && return 0
  sleep 10
  $SUDO apt-get update -q ||
    echo "apt-get update reported errors twice; installing from the package lists it has"
}

# The i386 half of a library must be the very version of its amd64 half.
# Where one architecture's index of an update suite failed to load, the two
# disagree and apt refuses; the release's own suite has both.
apt_install() {  # packages...
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "$@" && return 0
  echo "Installing again from $RELEASE alone, whose two architectures agree"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends -t "$RELEASE" "$@"
}

RELEASE="$(. /etc/os-release 2>/dev/null; echo "${VERSION_CODENAME:-bookworm}")"
BACKPORTS="$RELEASE-backports"

# The apt source files that are in force: sources.list, *.list and *.sources
# below sources.list.d (never *.disabled or other endings), each only if it
# exists.
apt_source_files() {
  local f
  for f in "$APT_ETC/sources.list" "$APT_ETC"/sources.list.d/*.list "$APT_ETC"/sources.list.d/*.sources; do
    [ -f "$f" ] && printf '%s\n' "$f"
  done
  return 0
}

# Every enabled entry of the apt sources as "URI SUITE SIGNED-BY" lines, one
# per suite, from deb822 stanzas and one-line "deb" entries alike.
apt_entries() {
  local f
  apt_source_files | while IFS= read -r f; do
    case $f in
      *.sources)
        # deb822 as sources.list(5) has it: "Field:value" with or without a
        # blank, a value folded onto lines that begin with a blank, "#"
        # lines, stanzas apart by blank lines, and apt's false words for
        # Enabled.
        awk 'function flush(   n, s, i, key) {
               key = v["signed-by"]
               if (split(key, words, " ") != 1) key = "-"
               if (v["types"] ~ /(^| )deb( |$)/ && v["enabled"] !~ /^(no|false|off|without|disable|0)$/ &&
                   split(v["uris"], uris, " ") > 0) {
                 n = split(v["suites"], s, " ")
                 for (i = 1; i <= n; i++) print uris[1], s[i], key
               }
               split("", v); field = ""
             }
             function trim(t) { gsub(/^[ \t]+|[ \t]+$/, "", t); return t }
             /^#/ { next }
             /^[ \t]*$/ { flush(); next }
             /^[ \t]/ { if (field != "") v[field] = trim(v[field] " " trim($0)); next }
             { c = index($0, ":"); if (!c) next
               field = tolower(trim(substr($0, 1, c - 1))); v[field] = trim(substr($0, c + 1))
               if (field == "enabled") v[field] = tolower(v[field]) }
             END { flush() }' "$f" ;;
      *)
        awk '$1 == "deb" {
               key = "-"; i = 2
               if ($2 ~ /^\[/) {
                 for (; i <= NF; i++) { if ($i ~ /^\[?signed-by=/) { key = $i; sub(/^\[?signed-by=/, "", key); sub(/\]$/, "", key) } if ($i ~ /\]$/) break }
                 i++
               }
               if (i + 1 <= NF) print $i, $(i + 1), key
             }' "$f" ;;
    esac
  done
}

# Whether an enabled entry names the backports suite.
has_backports() {
  apt_entries | awk -v b="$BACKPORTS" '$2 == b { found = 1 } END { exit !found }'
}

# Adds the backports suite at the address of the system's own Debian entry
# (the one whose suite is this release), unless backports is there already;
# where there is no such entry, one line says so and nothing is written. The
# entry goes into a file of the project's own name: an administrator's
# backports.sources, even a disabled one, is never written over.
BACKPORTS_FILE=hushgate-backports.sources
add_backports() {
  local release=$RELEASE uri key
  has_backports && return 0
  read -r uri key < <(apt_entries | awk -v r="$release" '$2 == r { print $1, $3; exit }') || true
  if [ -z "${uri:-}" ]; then
    echo "No Debian entry for $release in $APT_ETC: qemu-user is not installed, and the shipped exe's checks under it will not run"
    return 0
  fi
  [ "$key" != - ] || key=/usr/share/keyrings/debian-archive-keyring.gpg
  printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' "$uri" "$BACKPORTS" "$key" |
    $SUDO tee "$APT_ETC/sources.list.d/$BACKPORTS_FILE" >/dev/null
}

# The locale Wine's programs run in, given only to the commands that start
# them: were the shell itself to switch, it would warn on the first run, its
# locale data read before the locales below were generated. Empty: the
# caller's own.
WINE_LC=""
wine_env() {  # [VAR=value...] command...
  env ${WINE_LC:+"LC_ALL=$WINE_LC"} "$@"
}

# Wine takes the program's interface language from LC_ALL (de_DE.UTF-8:
# German, en_US.UTF-8: English), and mangles non-ASCII arguments under a
# locale the system has not generated.
generate_locales() {
  local name missing=()
  for name in de_DE en_US; do
    locale -a 2>/dev/null | grep -qix "$name.utf-\?8" || missing+=("$name")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Generating locales: ${missing[*]}"
  for name in "${missing[@]}"; do
    if grep -q "^# *$name.UTF-8 UTF-8" /etc/locale.gen; then
      $SUDO sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen; then
      echo "$name.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
  done
  $SUDO locale-gen >/dev/null
}

configure_and_build() {  # tier, extra cmake arguments...
  local tier=$1; shift
  configure_and_build_in "$tier" "$tier" "$@"
}

configure_and_build_in() {  # folder under build/, tier, extra cmake arguments...
  local folder=$1 tier=$2; shift 2
  cmake -S "$ROOT" -B "$BUILD/$folder" -DHUSHGATE_TIER="$tier" "$@" >/dev/null
  cmake --build "$BUILD/$folder" -j"$(nproc)"
}

build_program() {
  configure_and_build program -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-win32.cmake" \
    -DCMAKE_BUILD_TYPE=Release
}

build_native() {
  configure_and_build native -DCMAKE_BUILD_TYPE=Debug -DHUSHGATE_EXE="$EXE"
}

# The Wine tier runs the shipped 32-bit exe in a 32-bit prefix. Where the
# kernel has its 32-bit emulation switched off, Debian's 32-bit Wine loader
# cannot start ("Exec format error"); there the tier runs a 64-bit copy of the
# program, built from the same sources with the same options, and 64-bit
# tests in a 64-bit prefix. HUSHGATE_WINE64=1 asks for that anywhere.
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
WINE_BITS=""    # 32 or 64; the rest is set with it by choose_wine
WINE_ARCH=""
WINE_EXE=""     # the hushgate.exe that Wine starts
WINE_TESTS=""   # the build of the tests that run under Wine
WINE_REASON=""  # why the 64-bit build, when it is

choose_wine() {  # call once, after install_packages
  if [ "${HUSHGATE_WINE64:-0}" = 1 ]; then
    WINE_REASON="HUSHGATE_WINE64=1 asked for it"
  elif ! "$WINE32_LOADER" --version >/dev/null 2>&1; then
    WINE_REASON="this machine cannot run 32-bit programs"
  elif emulator_runs_32bit; then
    # It starts the loader, but a test run would take hours.
    WINE_REASON="this machine runs 32-bit programs only through an emulator"
  else
    WINE_BITS=32 WINE_ARCH=win32 WINE_EXE=$EXE WINE_TESTS=$BUILD/wine
    return 0
  fi
  WINE_BITS=64 WINE_ARCH=win64 WINE_EXE=$BUILD/program64/hushgate.exe WINE_TESTS=$BUILD/wine64
  # Debian's wine wrapper, and the wineboot and winepath ones that go through
  # it, take the 32-bit loader whenever it is installed, runnable or not.
  local shims="$BUILD/wine64-loader" name
  mkdir -p "$shims"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=%s\nexec %s "$@"\n' \
      "$WINE64_LOADER" "$WINE64_LOADER" >"$shims/$name"
    chmod +x "$shims/$name"
  done
  export PATH="$shims:$PATH"
}

# Whether Wine's 32-bit loader starts, and not through an emulator.
wine32_runs_natively() {
  "$WINE32_LOADER" --version >/dev/null 2>&1 && ! emulator_runs_32bit
}

# Whether an enabled binfmt_misc entry hands 32-bit x86 programs to qemu.
emulator_runs_32bit() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ "$(head -1 "$entry" 2>/dev/null)" = enabled ] &&
      grep -qs '^interpreter .*qemu-i386' "$entry" && return 0
  done
  return 1
}

# The shipped exe where the kernel runs 32-bit programs only through an
# emulator: qemu-user for i386 ELF, registered with the F flag in the
# binfmt_misc instance of a user namespace of its own (Linux 6.7 and later),
# never in the machine's, where other work counts on 32-bit programs failing
# fast. The PID namespace ends every Wine process with it.
QEMU_I386=/usr/bin/qemu-i386
I386_ELF='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

run_emulated_32bit() {  # command...; 125 where no private registration can be had
  unshare --user --map-root-user --mount --pid --fork --mount-proc bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null &&
      echo ":qemu-i386:M::$1:$2:$3:F" >/proc/sys/fs/binfmt_misc/register 2>/dev/null || exit 125
    shift 3
    exec "$@"' _ "$I386_ELF" "$I386_MASK" "$QEMU_I386" "$@"
}

# Why the shipped exe cannot run under the emulator here; nothing when it can.
emulation_32bit_problem() {
  local version
  version=$("$QEMU_I386" --version 2>/dev/null | grep -oE 'version [0-9]+' | cut -d' ' -f2)
  if [ -z "$version" ]; then
    echo "qemu-user is not installed"
  elif [ "$version" -lt 10 ]; then
    echo "qemu-user $version is too old (Wine needs 10 or later)"
  elif ! run_emulated_32bit true 2>/dev/null; then
    echo "the kernel gives no private binfmt_misc instance (Linux 6.7 or later, user namespaces)"
  elif ! run_emulated_32bit "$WINE32_LOADER" --version >/dev/null 2>&1; then
    echo "Wine's 32-bit loader does not start under qemu"
  fi
}

# The 64-bit copy of the program, where the Wine tier needs one; the shipped
# exe is build_program's.
build_wine_program() {
  [ "$WINE_BITS" = 64 ] || return 0
  configure_and_build_in program64 program \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw64-win32.cmake" -DCMAKE_BUILD_TYPE=Release
}

# Says so when the Wine tier could not run the shipped exe.
wine_width_note() {
  [ "$WINE_BITS" = 64 ] || return 0
  echo "Wine tier ran the 64-bit build ${WINE_EXE#"$ROOT"/}, not the shipped 32-bit exe, because $WINE_REASON"
}

# The 32-bit test programs that check the shipped exe under the emulator,
# where the Wine tier runs the 64-bit copy (else build_wine_tests has them).
build_shipped_exe_checks() {
  [ "$WINE_BITS" = 64 ] || return 0
  cmake -S "$ROOT" -B "$BUILD/wine" -DHUSHGATE_TIER=wine \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-posix.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/wine" -j"$(nproc)" --target end_to_end_tests send_command
}

build_wine_tests() {
  if [ "$WINE_BITS" = 64 ]; then
    configure_and_build_in wine64 wine -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw64-posix.cmake" \
      -DCMAKE_BUILD_TYPE=Release
  else
    configure_and_build wine -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-posix.cmake" \
      -DCMAKE_BUILD_TYPE=Release
  fi
}

# A fresh prefix of the chosen width that reports Windows XP (5.1, suite mask
# 0x100, for 64-bit programs too) to every program in it.
make_xp_prefix() {  # directory
  make_prefix "$1" "$WINE_ARCH" winxp
}

# A fresh 64-bit prefix that reports Windows XP Professional x64 Edition (5.2,
# a workstation) to every program in it, where the shipped 32-bit exe runs
# under Wine's WOW64 as on a 64-bit Windows. Only where 32-bit programs run.
make_xp64_prefix() {  # directory
  make_prefix "$1" win64 winxp64
}

make_prefix() {  # directory, architecture, Windows version
  rm -rf "$1"
  mkdir -p "$(dirname "$1")"
  export WINEPREFIX="$1" WINEARCH="$2"
  # No prompts to install Mono or Gecko: they would wait for an answer.
  wine_env WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  install_wine_fonts "$1"
  wine_env wine reg add 'HKCU\Software\Wine' /v Version /d "$3" /f >/dev/null 2>&1
  # Without a window manager, managed windows cost seconds to close.
  wine_env wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}

# Wine's own "MS Sans Serif", Tahoma and Marlett (the caption buttons), as
# XP has them. Debian's Wine never reads them from its data folder
# (/usr/share/wine/fonts, from fonts-wine), but it loads every font in the
# prefix's Fonts folder.
install_wine_fonts() {  # prefix directory
  cp -u /usr/share/wine/fonts/* "$1/drive_c/windows/Fonts/"
}

# Whether the prefix exists and was made for the chosen width.
prefix_fits() {  # directory
  grep -qx "#arch=$WINE_ARCH" "$1/system.reg" 2>/dev/null
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

# Starts hushgate.exe (the one Wine runs) with the arguments in the current
# prefix and display, waits for its main window, and saves the window to the
# given PNG; the program keeps running.
SCREENSHOT_PROGRAM=""        # the process id of the last one
WINDOW_WAIT_TENTHS=150
screenshot_main_window() {  # png [arguments...]
  wine_env wine "$WINE_EXE" "${@:2}" >/dev/null 2>&1 &
  SCREENSHOT_PROGRAM=$!
  local window=""
  for _ in $(seq "$WINDOW_WAIT_TENTHS"); do
    window=$(xdotool search --name '^Hushgate V3.61$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "The main window did not appear" >&2; return 1; }
  # Wine paints moved children only once the program is idle.
  sleep 2
  mkdir -p "$(dirname "$1")"
  import -window "$window" "$1"
}

# Makes Group Policy decide two settings in the current prefix, as a domain's
# policy would: error reporting forced on (4) and a security template's copy
# that sets the update service to automatic (10), in UTF-16LE as Windows
# keeps it.
plant_policies() {
  wine reg add 'HKLM\Software\Policies\Microsoft\PCHealth\ErrorReporting' /v DoReport \
    /t REG_DWORD /d 1 /f >/dev/null 2>&1
  local folder="$WINEPREFIX/drive_c/windows/security/templates/policies"
  mkdir -p "$folder"
  { printf '\xff\xfe'
    printf '[Unicode]\r\nUnicode=yes\r\n[Service General Setting]\r\n"wuauserv",2,""\r\n' |
      iconv -f ASCII -t UTF-16LE
  } >"$folder/gpt00000.inf"
  wineserver -w
}

# Plants Internet Explorer 8 and Media Player 10 in the current prefix, as
# their installers register them: the version text of IE, the Player's
# Active Setup entry.
plant_internet_programs() {
  wine reg add 'HKLM\SOFTWARE\Microsoft\Internet Explorer\Version Vector' /v IE /d 8.0000 \
    /f >/dev/null 2>&1
  local setup='HKLM\Software\Microsoft\Active Setup\Installed Components\{6BF52A52-394A-11d3-B153-00C04F79FAA6}'
  wine reg add "$setup" /v IsInstalled /t REG_DWORD /d 1 /f >/dev/null 2>&1
  wine reg add "$setup" /v Version /d 10,0,0,3646 /f >/dev/null 2>&1
  wineserver -w
}

# The main window with its last categories in view: Internet Explorer's at
# the top, the three short ones below it collapsed, so that the new category
# follows. The program keeps running.
screenshot_internet_settings() {  # png [arguments...]
  screenshot_main_window "$@" || return 1
  local window
  window=$(xdotool search --name '^Hushgate V3.61$' 2>/dev/null | head -1)
  wine_env wine "$WINE_TESTS/tests/show_categories.exe" 'Hushgate V3.61' 3 4 5 6 >/dev/null 2>&1 ||
    return 1
  sleep 2
  import -window "$window" "$1"
}

# Opens one of the main window's dialogs through its menu command, saves the
# screen, and closes the dialog again.
screenshot_dialog() {  # command-id dialog-caption png
  local send="$WINE_TESTS/tests/send_command.exe"
  wine_env wine "$send" 'Hushgate V3.61' "$1" >/dev/null 2>&1 || return 1
  sleep 2
  import -window root "$3"
  wine_env wine "$send" "$2" 2 >/dev/null 2>&1
  sleep 1
}
