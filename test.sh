#!/usr/bin/env bash
# Sets up what is missing, builds, and runs all tests under Wine in a
# virtual display of its own.
#   ./test.sh [CTEST ARGUMENTS...]   the suite, on the builds this host runs
#   ./test.sh --emulated             the shipped disc under 32-bit emulation
#
# Where this host runs 32-bit programs, the whole suite runs on the shipped
# 32-bit build and again on its x64 twin. Elsewhere the shipped build's
# files are checked (headers, imports, size, reproducibility, signing) and
# the whole suite runs on the twin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"

if [ "${1:-}" = --emulated ]; then
  exec ./tools/emulated-run.sh
fi

./tools/setup.sh
host32=$(./tools/host32.sh)
for preset in mingw-i686 mingw-x86_64; do
  cmake --preset "$preset" -DBUILD_TESTING=ON >/dev/null
  cmake --build --preset "$preset"
done

# Tests read pixels: always our own display, whatever DISPLAY says.
export CVN_FORCE_XVFB=1
. tools/wine-env.sh
trap 'cvn_stop_wine; cvn_stop_display' EXIT
cvn_start_display
cvn_start_wine

# A test entry that fails is run once more before it counts: a few checks
# read the screen, and under load Wine can show a window a moment after it
# has painted. A real fault fails twice.
retry=(--repeat until-pass:2)
status=0
if [ "$host32" = native ]; then
  echo "test.sh: the shipped 32-bit build"
  ctest --preset mingw-i686 "${retry[@]}" "$@" || status=$?
  echo "test.sh: its x64 twin (native tests ran above)"
  ctest --preset mingw-x86_64 -LE host "${retry[@]}" "$@" || status=$?
else
  echo "test.sh: this host does not run 32-bit programs natively: the shipped build's files are checked"
  ctest --preset mingw-i686 -L shipped "${retry[@]}" "$@" || status=$?
  echo "test.sh: the whole suite on the x64 twin"
  ctest --preset mingw-x86_64 "${retry[@]}" "$@" || status=$?
fi
echo "test.sh: builds in $root/build (shipped) and $root/build64 (twin), test logs in their Testing/Temporary/LastTest.log"
exit $status
