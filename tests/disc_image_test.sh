#!/usr/bin/env bash
# The disc image as a device: unpack the built ISO, map it in the Wine
# prefix as a CD-ROM drive, run the launcher from the drive root through
# the trace runner, then "unplug" the device by removing the drive. The
# launcher must end with exit code 0 within a monitor cycle.
#   disc_image_test.sh ISO TRACERUN WINE
set -euo pipefail
iso=$1 tracerun=$2 wine=$3
work=$(mktemp -d)
letter=q
link="$WINEPREFIX/dosdevices/$letter:"
cleanup() {
  rm -f "$link"
  "$wine" reg delete 'HKLM\Software\Wine\Drives' /v "$letter:" /f >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/trace.txt" 2>/dev/null; exit 1; }

xorriso -osirrox on -indev "$iso" -extract / "$work/cd" >/dev/null 2>&1 || fail "cannot unpack $iso"
for name in CVNAI.exe CVNImage.dll "Auto installer.qzt" CVNAI.ini autorun.inf; do
  [ -f "$work/cd/$name" ] || fail "the image lacks '$name'"
done
[ "$(find "$work/cd" -type f | wc -l)" = 5 ] || fail "the image holds more than the five files"
head -n1 "$work/cd/CVNAI.ini" | grep -q '^\[CVN_DOWNLOAD_LINK\]=.' || fail "CVNAI.ini lacks the link line"
grep -q '^open=CVNAI.exe' "$work/cd/autorun.inf" || fail "autorun.inf does not open the launcher"
grep -q '^icon=CVNAI.exe' "$work/cd/autorun.inf" || fail "autorun.inf does not show the launcher's icon"
# Joliet keeps the marker's real name even when the image is read without
# Rock Ridge.
xorriso -read_fs norock -indev "$iso" -find / 2>/dev/null | grep -q "'/Auto installer.qzt'" ||
  fail "the Joliet tree lacks 'Auto installer.qzt'"
chmod -R a-w "$work/cd"

ln -sfn "$work/cd" "$link"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null 2>&1

"$wine" "$tracerun" --timeout 60 --cwd "Q:\\" 'Q:\CVNAI.exe' >"$work/trace.txt" 2>&1 &
runner=$!
for _ in $(seq 1 300); do
  grep -q "Start. Action!." "$work/trace.txt" && break
  sleep 0.1
done
grep -q "Start. Action!." "$work/trace.txt" || fail "the launcher did not reach its workflow from the drive"
sleep 1
rm -f "$link"   # unplugged
status=0
wait $runner || status=$?
[ "$status" = 0 ] || fail "tracerun exited with $status"
grep -q "CDFS out!! Kill me!" "$work/trace.txt" || fail "the monitor did not notice the unplug"
grep -q "tracerun: exit code 0" "$work/trace.txt" || fail "the launcher did not end with exit code 0"
if grep -q "End. Zzz.." "$work/trace.txt"; then fail "the workflow ended by itself, not by the unplug"; fi
echo "disc image test passed"
cat "$work/trace.txt"
