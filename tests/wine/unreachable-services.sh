#!/usr/bin/env bash
# /status /profile: where the service manager cannot be reached: a prefix of
# its own, beside the test prefix and sharing its drive C, whose service
# manager never starts. No service setting the profile names is known to be
# as wanted, so each is "unknown" and the run does not end as if all were
# well. Needs WINEPREFIX and HUSHGATE_EXE as the Wine tier sets them.
set -euo pipefail
scratch=$(mktemp -d)
prefix="$scratch/prefix"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$prefix/dosdevices"
cp "$WINEPREFIX"/*.reg "$WINEPREFIX/.update-timestamp" "$prefix/"
ln -s "$WINEPREFIX/drive_c" "$prefix/drive_c"
ln -s ../drive_c "$prefix/dosdevices/c:"
ln -s / "$prefix/dosdevices/z:"
printf '[Settings]\r\n9=off\r\n10=on\r\n' >"$scratch/p.ini"
set +e
report=$(WINEPREFIX="$prefix" WINEDLLOVERRIDES="services.exe=d" \
         wine "$HUSHGATE_EXE" /status "/profile:Z:$scratch/p.ini" 2>/dev/null)
status=$?
set -e
report=${report//$'\r'/}
fail=0
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; fail=1; }
for line in $'9\tunknown\t.*\toff\tunknown' $'10\tunknown\t.*\ton\tunknown'; do
  LC_ALL=C grep -qx "$line" <<<"$report" || { echo "no line like: $line"; fail=1; }
done
[ "$fail" = 0 ] && echo "Passed" || { echo "$report"; exit 1; }
