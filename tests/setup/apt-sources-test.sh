#!/usr/bin/env bash
# The set-up's apt helpers against scratch apt folders, as a new machine may
# have them: no network, no root, and the shell options the scripts run with.
# Usage: apt-sources-test.sh CASE   (CASE as in the table at the bottom; "all")
# COMMON names the script under test (scripts/common.sh by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source "${COMMON:-scripts/common.sh}"
SUDO=""
RELEASE=bookworm
BACKPORTS=bookworm-backports

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# No archive of anyone's: the helpers copy whatever address the entry holds.
MIRROR=http://mirror.invalid/debian
KEY=/usr/share/keyrings/debian-archive-keyring.gpg

debian_sources() {  # stanza for the release, its updates and security
  printf 'Types: deb\nURIs: %s\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: %s\n\n' "$MIRROR" "$KEY"
  printf 'Types: deb\nURIs: %s-security\nSuites: bookworm-security\nComponents: main\nSigned-By: %s\n' "$MIRROR" "$KEY"
}

backports_written() {  # uri key
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: %s\n' "$1" "$2"
}

# Each layout: fills $APT_ETC, and prints what the project's backports file
# must hold afterwards (nothing: it must not be written) and, after a "|", a
# text the helper's output must contain. Every file the layout made must be
# as it was.
layout_no_sources_list() {
  debian_sources >"$APT_ETC/sources.list.d/debian.sources"
  backports_written "$MIRROR" "$KEY"
}
layout_deb822_only() {
  # A disabled stanza first, with another address, and no Signed-By on the
  # one in force: the archive's own keyring is taken.
  printf 'Types: deb\nURIs: http://old.invalid/debian\nSuites: bookworm\nComponents: main\nEnabled: no\n\n' \
    >"$APT_ETC/sources.list.d/debian.sources"
  printf '# the release\nTypes: deb-src deb\nURIs: %s\nSuites: bookworm\nComponents: main contrib\n' "$MIRROR" \
    >>"$APT_ETC/sources.list.d/debian.sources"
  backports_written "$MIRROR" "$KEY"
}
layout_one_line_list() {
  # sources.list names the release only in a comment and for sources.
  printf '# deb http://old.invalid/debian bookworm main\ndeb-src %s bookworm main\n' "$MIRROR" >"$APT_ETC/sources.list"
  printf 'deb [arch=amd64 signed-by=/etc/apt/keyrings/local.gpg] %s bookworm main\n' "$MIRROR" \
    >"$APT_ETC/sources.list.d/debian.list"
  backports_written "$MIRROR" /etc/apt/keyrings/local.gpg
}
layout_backports_present() {
  debian_sources >"$APT_ETC/sources.list.d/debian.sources"
  printf 'deb %s bookworm-backports main\n' "$MIRROR" >"$APT_ETC/sources.list.d/backports.list"
}
layout_no_debian_entry() {
  printf 'Types: deb\nURIs: http://vendor.invalid/apt\nSuites: stable\nComponents: main\n' \
    >"$APT_ETC/sources.list.d/vendor.sources"
  echo "|No Debian entry for bookworm in $APT_ETC"
}
layout_disabled_beside() {
  # Disabled copies name backports and another address; only the file in
  # force counts.
  debian_sources >"$APT_ETC/sources.list.d/debian.sources"
  printf 'deb http://old.invalid/debian bookworm-backports main\n' >"$APT_ETC/sources.list.d/backports.list.disabled"
  printf 'Types: deb\nURIs: http://old.invalid/debian\nSuites: bookworm bookworm-backports\n' \
    >"$APT_ETC/sources.list.d/old.sources.disabled"
  backports_written "$MIRROR" "$KEY"
}
layout_only_disabled() {
  printf 'deb %s bookworm main\n' "$MIRROR" >"$APT_ETC/sources.list.d/debian.list.disabled"
  debian_sources >"$APT_ETC/sources.list.d/debian.sources.disabled"
  echo "|No Debian entry for bookworm in $APT_ETC"
}
layout_administrators_backports() {
  # An administrator's own backports file, switched off with one of apt's
  # false words, stays as it is; so do stanzas switched off with the others.
  printf 'Types: deb\nURIs: http://old.invalid/debian\nSuites: bookworm-backports\nEnabled: No\n' \
    >"$APT_ETC/sources.list.d/backports.sources"
  printf 'Types: deb\nURIs: http://old.invalid/debian\nSuites: bookworm\nEnabled: %s\n\n' false off \
    >"$APT_ETC/sources.list.d/old.sources"
  debian_sources >"$APT_ETC/sources.list.d/debian.sources"
  backports_written "$MIRROR" "$KEY"
}
layout_compact_and_folded() {
  # "Field:value" without a blank, a value folded onto the next lines, and a
  # stanza for sources only, which is no archive to install from.
  printf 'Types:deb-src\nURIs:http://src.invalid/debian\nSuites:bookworm\n\n' \
    >"$APT_ETC/sources.list.d/debian.sources"
  printf 'Types:deb\nURIs:%s\nSuites:bookworm-updates\n  bookworm\nComponents:main\n' "$MIRROR" \
    >>"$APT_ETC/sources.list.d/debian.sources"
  backports_written "$MIRROR" "$KEY"
}
layout_sources_only() {
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\n' "$MIRROR" >"$APT_ETC/sources.list.d/debian.sources"
  echo "|No Debian entry for bookworm in $APT_ETC"
}

# Runs one layout through add_backports in a shell of the scripts' options.
check_layout() {  # name
  APT_ETC="$scratch/$1"
  mkdir -p "$APT_ETC/sources.list.d"
  local expected message written status
  expected=$("layout_$1")
  local before
  before=$(cd "$APT_ETC" && find . -type f | sort | xargs -r md5sum)
  message=${expected#*|}
  [ "$message" != "$expected" ] || message=""
  expected=${expected%%|*}
  set +e
  (set -euo pipefail; add_backports) >"$scratch/$1.out" 2>&1
  status=$?
  set -e
  written=""
  local own="$APT_ETC/sources.list.d/$BACKPORTS_FILE"
  [ ! -f "$own" ] || written=$(cat "$own")
  local ok=1
  [ "$before" = "$(cd "$APT_ETC" && find . -type f ! -name "$BACKPORTS_FILE" | sort | xargs -r md5sum)" ] || {
    echo "  a file that was there before changed or went"; ok=0; }
  [ "$status" -eq 0 ] || { echo "  add_backports returned $status: $(cat "$scratch/$1.out")"; ok=0; }
  [ "$written" = "$expected" ] || {
    echo "  $BACKPORTS_FILE holds:"; echo "${written:-  (not written)}"; echo "  expected:"; echo "${expected:-  (not written)}"; ok=0; }
  [ -z "$message" ] || grep -qF "$message" "$scratch/$1.out" || {
    echo "  said: $(cat "$scratch/$1.out")"; echo "  expected it to say: $message"; ok=0; }
  [ "$ok" = 1 ] && echo "Passed: $1" || { echo "FAILED: $1"; return 1; }
}

# A machine that runs 32-bit programs itself never has its sources touched,
# whatever they hold.
check_native_machine() {
  APT_ETC="$scratch/native"
  mkdir -p "$APT_ETC/sources.list.d"
  debian_sources >"$APT_ETC/sources.list.d/debian.sources"
  local before status
  before=$(cd "$APT_ETC" && find . -type f | sort | xargs md5sum)
  wine32_runs_natively() { return 0; }
  set +e
  (set -euo pipefail; HUSHGATE_WINE64=0 install_emulator_if_needed) >"$scratch/native.out" 2>&1
  status=$?
  set -e
  if [ "$status" -eq 0 ] && [ "$before" = "$(cd "$APT_ETC" && find . -type f | sort | xargs md5sum)" ]; then
    echo "Passed: native_machine"
  else
    echo "FAILED: native_machine (status $status, files: $(cd "$APT_ETC" && find . -type f | sort | tr '\n' ' '))"
    return 1
  fi
}

cases=(no_sources_list deb822_only one_line_list backports_present no_debian_entry
       disabled_beside only_disabled administrators_backports compact_and_folded sources_only
       native_machine)
run_case() {
  case $1 in
    native_machine) check_native_machine ;;
    *) check_layout "$1" ;;
  esac
}
if [ "${1:-all}" = all ]; then
  failed=0
  # Each case in a process of its own: under "||" bash would not stop a
  # helper at its first failing command, as the scripts do.
  for c in "${cases[@]}"; do bash "$0" "$c" || failed=1; done
  exit $failed
fi
run_case "$1"
