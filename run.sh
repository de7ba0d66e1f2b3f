#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the launcher the way a user
# meets it: the disc image mapped as a CD-ROM drive in the Wine prefix, the
# launcher started from the drive root, its trace printed. Without an X
# display it runs in a virtual one, saves a screenshot of the dialog and
# answers it.
#
#   ./run.sh                 a demo Corvana installed: the notice, then its start
#   ./run.sh not-installed   the download question (answered with EXIT)
#   ./run.sh --emulated      the shipped disc under 32-bit emulation, where
#                            this host cannot run 32-bit programs itself
#
# It shows the shipped 32-bit build where this host runs 32-bit programs,
# else its x64 twin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
mode="${1:-installed}"
case "$mode" in
  installed|not-installed) ;;
  --emulated) exec ./tools/emulated-run.sh --show ;;
  *) echo "usage: ./run.sh [installed|not-installed|--emulated]" >&2; exit 2;;
esac

./tools/setup.sh
. tools/wine-env.sh
cvn_choose_build
if [ "$cvn_preset" != mingw-i686 ]; then
  echo "run.sh: this host does not run 32-bit programs natively: showing the x64 twin (./run.sh --emulated shows the shipped build, slowly)"
fi
cmake --preset "$cvn_preset" >/dev/null
cmake --build --preset "$cvn_preset"
demo="$cvn_build/demo"
trap cvn_end_run EXIT
headless=""
if [ -z "${DISPLAY:-}" ]; then headless=1; fi
cvn_start_display
cvn_start_wine

# The device's disc: the built image, unpacked and mapped as drive Q:.
rm -rf "$demo"
mkdir -p "$demo"
cvn_map_disc "$cvn_build/cvn-disc.iso" "$demo/cd"

if [ "$mode" = installed ]; then
  mkdir -p "$demo/Corvana"
  cp "$cvn_build/bin/stub_program.exe" "$demo/Corvana/Corvana.exe"
  cvn_set_install_location "$demo/Corvana"
  answer=OK
else
  cvn_clear_install_location
  answer=EXIT
fi

echo "run.sh: starting Q:\\CVNAI.exe from the disc image ($mode)"
wine "$cvn_build/bin/tracerun.exe" --timeout 300 --cwd 'Q:\' 'Q:\CVNAI.exe' | tee "$demo/trace.txt" &
runner=$!
if [ -n "$headless" ]; then
  sleep 3
  xwd -root -silent | convert xwd:- -trim +repage "$demo/screenshot.png" &&
    echo "run.sh: screenshot of what the user sees in $demo/screenshot.png"
  wine "$cvn_build/bin/pressbutton.exe" "$answer"
fi
wait $runner || true
if [ -f "$demo/Corvana/Corvana.exe.log" ]; then
  echo "run.sh: the demo Corvana was started: $(cat "$demo/Corvana/Corvana.exe.log")"
fi
echo "run.sh: trace in $demo/trace.txt"
