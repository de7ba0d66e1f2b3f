#!/usr/bin/env bash
# Sets up what is missing, builds, and runs all tests under Wine in a
# virtual display of its own.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"

./tools/setup.sh
cmake --preset mingw-i686 -DBUILD_TESTING=ON >/dev/null
cmake --build --preset mingw-i686

# Tests read pixels: always our own display, whatever DISPLAY says.
export CVN_FORCE_XVFB=1
. tools/wine-env.sh
trap 'cvn_stop_wine; cvn_stop_display' EXIT
cvn_start_display
cvn_start_wine

status=0
ctest --preset mingw-i686 "$@" || status=$?
echo "test.sh: build in $root/build, test log in $root/build/Testing/Temporary/LastTest.log"
exit $status
