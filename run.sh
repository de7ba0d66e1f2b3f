#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the launcher on a demo disc
# folder under Wine, printing its trace. Without an X display it runs in a
# virtual one and saves a screenshot of what the user would see.
#
#   ./run.sh              Corvana not installed: the download question
#   ./run.sh installed    a demo Corvana installed: the notice, then its start
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
mode="${1:-not-installed}"

./tools/setup.sh
cmake --preset mingw-i686 -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset mingw-i686

. tools/wine-env.sh
trap 'cvn_stop_wine; cvn_stop_display' EXIT
headless=""
if [ -z "${DISPLAY:-}" ]; then headless=1; fi
cvn_start_display
cvn_start_wine

demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo/disc"
cp -r "$root/build/disc/." "$demo/disc/"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{6A3E19C2-47D0-4B8E-9F21-0C5D7E8A4B13}'
if [ "$mode" = "installed" ]; then
  mkdir -p "$demo/Corvana"
  cp "$root/build/bin/stub_program.exe" "$demo/Corvana/Corvana.exe"
  wine reg add "$key" /v InstallLocation /d "$(winepath -w "$demo/Corvana")" /f /reg:32 >/dev/null 2>&1
else
  wine reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true
fi

launcher="$(winepath -w "$demo/disc/CVNAI.exe")"
echo "run.sh: starting $launcher ($mode)"
wine "$root/build/bin/tracerun.exe" --timeout 120 "$launcher" | tee "$demo/trace.txt" &
runner=$!
if [ -n "$headless" ]; then
  # What the user sees once the dialog is up. Nobody is there to answer
  # it, so then the device is "unplugged": the launcher ends itself.
  sleep 4
  xwd -root -silent | convert xwd:- -trim +repage "$demo/screenshot.png" &&
    echo "run.sh: screenshot in $demo/screenshot.png"
  rm -f "$demo/disc/Auto installer.qzt"
fi
wait $runner || true
wine reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true
echo "run.sh: trace in $demo/trace.txt"
