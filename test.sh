#!/usr/bin/env bash
# Sets up what is missing, builds, and runs all tests under Wine in a
# virtual display of its own.
#   ./test.sh [CTEST ARGUMENTS...]   the suite, on the builds this host runs
#   ./test.sh --emulated             the shipped disc under 32-bit emulation
#   ./test.sh --profile profiles/NAME that profile's disc: its check, its texts
#                                    measured against its dialogs, and its
#                                    road (installed, not installed, unplugged)
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
profile=""
if [ "${1:-}" = --profile ]; then
  [ $# = 2 ] && [ -f "$2/profile.toml" ] || { echo "test.sh: --profile needs a profile folder (profiles/NAME)" >&2; exit 2; }
  profile=$(realpath "$2")
fi

./tools/setup.sh
host32=$(./tools/host32.sh)
for preset in mingw-i686 mingw-x86_64; do
  # The suite is the default profile's, whatever a build here was last given.
  cmake --preset "$preset" -DBUILD_TESTING=ON -DCVN_PROFILE="$root/profiles/default" >/dev/null
  cmake --build --preset "$preset"
done

# Tests read pixels: always our own display, whatever DISPLAY says.
export CVN_FORCE_XVFB=1
. tools/wine-env.sh
trap 'cvn_stop_wine; cvn_stop_display' EXIT
cvn_start_display
cvn_start_wine

if [ -n "$profile" ]; then
  # The suite's own expectations are the default profile's; another
  # profile's disc is checked through its road, on each build this host runs.
  status=0
  presets=(mingw-x86_64)
  [ "$host32" = native ] && presets=(mingw-i686 mingw-x86_64)
  for preset in "${presets[@]}"; do
    build="$root/build64"
    [ "$preset" = mingw-i686 ] && build="$root/build"
    bash tests/profile_road_test.sh "$profile" "$build" "$root/cmake/$preset.cmake" ||
      status=1
  done
  echo "test.sh: profile $(basename "$profile"): $([ $status = 0 ] && echo passed || echo FAILED)"
  exit $status
fi

# Only entries that read the screen (label "screen") run once more when
# they fail: under load Wine can show a window a moment after it has
# painted. Every retry that passed is reported at the end, so a flake is
# seen; anything else that fails, fails.
status=0
retried=()
suite() {  # preset label-exclusions [ctest arguments...]
  local preset=$1 exclude=$2 log
  shift 2
  log=$(mktemp)
  # A selection of the caller's may leave one of the two halves empty.
  local some=()
  [ $# = 0 ] || some=(--no-tests=ignore)
  ctest --preset "$preset" -LE "screen${exclude:+|$exclude}" "${some[@]}" "$@" 2>&1 | tee "$log" || status=1
  ctest --preset "$preset" -L screen ${exclude:+-LE "$exclude"} --repeat until-pass:2 "${some[@]}" "$@" 2>&1 |
    tee -a "$log" || status=1
  local name
  while read -r name; do
    [ -n "$name" ] && retried+=("$name ($preset)")
  done < <(awk '/Test +#[0-9]+: / {
                  name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ .*/, "", name)
                  if ($0 ~ /\*\*\*/) failed[name] = 1
                  else if ($0 ~ / Passed / && failed[name]) print name
                }' "$log")
  rm -f "$log"
}
if [ "$host32" = native ]; then
  echo "test.sh: the shipped 32-bit build"
  suite mingw-i686 "" "$@"
  echo "test.sh: its x64 twin (native tests ran above)"
  suite mingw-x86_64 host "$@"
else
  echo "test.sh: this host does not run 32-bit programs natively: the shipped build's files are checked"
  ctest --preset mingw-i686 -L shipped "$@" || status=$?
  echo "test.sh: the whole suite on the x64 twin"
  suite mingw-x86_64 "" "$@"
fi
if [ "${#retried[@]}" -gt 0 ]; then
  echo "test.sh: passed on retry: ${retried[*]}"
fi
echo "test.sh: builds in $root/build (shipped) and $root/build64 (twin), test logs in their Testing/Temporary/LastTest.log"
echo "test.sh: $([ $status = 0 ] && echo passed || echo FAILED), ${#retried[@]} entries passed only on retry"
exit $status
