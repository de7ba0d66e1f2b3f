#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the launcher the way a user
# meets it: the disc image mapped as a CD-ROM drive in the Wine prefix, the
# launcher started from the drive root, its trace printed. Without an X
# display it runs in a virtual one, saves a screenshot of the dialog and
# answers it.
#
#   ./run.sh                 a demo Corvana installed: the notice, then its start
#   ./run.sh not-installed   the download question (answered with EXIT)
#   ./run.sh --profile profiles/NAME [installed|not-installed]
#                            the same with that device profile's disc
#   ./run.sh --emulated      the shipped disc under 32-bit emulation, where
#                            this host cannot run 32-bit programs itself
#
# It shows the shipped 32-bit build where this host runs 32-bit programs,
# else its x64 twin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
profile=profiles/default
if [ "${1:-}" = --profile ]; then
  [ $# -ge 2 ] && [ -f "$2/profile.toml" ] || { echo "run.sh: --profile needs a profile folder (profiles/NAME)" >&2; exit 2; }
  profile=$2
  shift 2
fi
mode="${1:-installed}"
case "$mode" in
  installed|not-installed) ;;
  --emulated) exec ./tools/emulated-run.sh --show ;;
  *) echo "usage: ./run.sh [--profile profiles/NAME] [installed|not-installed|--emulated]" >&2; exit 2;;
esac

./tools/setup.sh
. tools/wine-env.sh
cvn_use_profile "$profile"
cvn_choose_build
if [ "$cvn_preset" != mingw-i686 ]; then
  echo "run.sh: this host does not run 32-bit programs natively: showing the x64 twin (./run.sh --emulated shows the shipped build, slowly)"
fi
cmake --preset "$cvn_preset" -DCVN_PROFILE="$root/profiles/default" >/dev/null
cmake --build --preset "$cvn_preset"
cvn_build_profile_disc "$cvn_build" "$root/cmake/$cvn_preset.cmake" iso
demo="$cvn_build/demo"
trap cvn_end_run EXIT
headless=""
if [ -z "${DISPLAY:-}" ]; then headless=1; fi
cvn_start_display
cvn_start_wine

# The device's disc: the built image, unpacked and mapped as drive Q:.
rm -rf "$demo"
mkdir -p "$demo"
cvn_map_disc "$cvn_disc_build/cvn-disc.iso" "$demo/cd"
launcher=$(cvn_profile_value disc.launcher)
suite_exe=$(cvn_profile_value suite.executable)

if [ "$mode" = installed ]; then
  mkdir -p "$demo/suite"
  cp "$cvn_build/bin/stub_program.exe" "$demo/suite/$suite_exe"
  cvn_set_install_location "$demo/suite"
  answer=OK
else
  cvn_clear_install_location
  answer=EXIT
fi

echo "run.sh: starting Q:\\$launcher from the disc image ($mode, profile $cvn_profile_name)"
wine "$cvn_build/bin/tracerun.exe" --timeout 300 --cwd 'Q:\' "Q:\\$launcher" | tee "$demo/trace.txt" &
runner=$!
if [ -n "$headless" ]; then
  sleep 3
  xwd -root -silent | convert xwd:- -trim +repage "$demo/screenshot.png" &&
    echo "run.sh: screenshot of what the user sees in $demo/screenshot.png"
  wine "$cvn_build/bin/pressbutton.exe" "$answer"
fi
wait $runner || true
if [ -f "$demo/suite/$suite_exe.log" ]; then
  echo "run.sh: the demo $suite_exe was started: $(cat "$demo/suite/$suite_exe.log")"
fi
echo "run.sh: trace in $demo/trace.txt"
