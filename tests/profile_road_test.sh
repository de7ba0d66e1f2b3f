#!/usr/bin/env bash
# Another device's disc end to end: builds PROFILE's disc with this build's
# toolchain, checks that every text fits its dialog, then runs its launcher
# from a copy of the disc under Wine three times: installed (its own
# uninstall record naming no folder, so its own default folder, and its own
# executable started), not installed (its own link handed to the file
# manager) and unplugged (its own marker removed). test.sh --profile runs it.
#   profile_road_test.sh PROFILE BUILD_DIR TOOLCHAIN_FILE
set -uo pipefail
build=$2 toolchain=$3 tools=$2/bin
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The project's Wine helpers and profile values, in the caller's prefix.
export CVN_WINEPREFIX="$WINEPREFIX"
. "$here/tools/wine-env.sh"
cvn_use_profile "$1"
name=$cvn_profile_name
value() { cvn_profile_value "$1"; }
fail() { echo "FAIL ($name, $road): $*"; [ -f "$work/trace.txt" ] && tr -d '\r' <"$work/trace.txt"; exit 1; }
road="build"
cvn_build_profile_disc "$build" "$toolchain" disc dialogshots >"$build/profile-$name.log" 2>&1 ||
  { cat "$build/profile-$name.log"; fail "the disc did not build"; }
# Every message fits its dialog, measured on the profile's own build.
wine "$cvn_disc_build/bin/dialogshots.exe" --check-fit || fail "a text does not fit its dialog"
launcher=$(value disc.launcher) marker=$(value disc.marker_file) link=$(value disc.link)
key=$cvn_uninstall_key
program_files="$WINEPREFIX/drive_c/Program Files"
case "$toolchain" in *i686*) program_files="$WINEPREFIX/drive_c/Program Files (x86)" ;; esac
suite="$program_files/$(value suite.default_folder | tr '\\' /)"
work=$(mktemp -d)
explorer="$WINEPREFIX/drive_c/windows/explorer.exe"
cleanup() {
  wine reg delete "$key" /f /reg:32 >/dev/null 2>&1
  rm -rf "$work" "$program_files/$(value suite.default_folder | tr '\\' / | cut -d/ -f1)"
}
trap cleanup EXIT
disc_folder=$(realpath "$cvn_disc_build/disc")

# Runs the launcher from a fresh copy of the disc; $1: what to do once its
# dialog is up ("OK" pressed, or "unplug"). Leaves its trace in trace.txt.
run() {
  rm -rf "$work/disc" "$work/trace.txt" && cp -r "$disc_folder" "$work/disc"
  wine "$tools/tracerun.exe" --timeout 120 "$(winepath -w "$work/disc/$launcher" 2>/dev/null)" \
    >"$work/trace.txt" 2>&1 &
  local runner=$!
  if [ "$1" = unplug ]; then
    for _ in $(seq 1 300); do grep -qs "Start. Action!." "$work/trace.txt" && break; sleep 0.1; done
    sleep 1
    rm -f "$work/disc/$marker"
  else
    wine "$tools/pressbutton.exe" --wait 60 "$1" >/dev/null 2>&1 || fail "no dialog to answer"
  fi
  wait $runner
  tr -d '\r' <"$work/trace.txt" | grep -q "tracerun: exit code 0" || fail "the launcher did not end with exit code 0"
}
has() { tr -d '\r' <"$work/trace.txt" | grep -qF -- "$1"; }

road="installed"
wine reg add "$key" /v InstallLocation /d "" /f /reg:32 >/dev/null 2>&1 || fail "cannot write the record"
mkdir -p "$suite" && cp "$tools/stub_program.exe" "$suite/$(value suite.executable)"
run OK
has "[RZ_K] CVN Run OK." || fail "its executable was not started"
[ -f "$suite/$(value suite.executable).log" ] || fail "no start of $suite/$(value suite.executable)"

road="not installed"
wine reg delete "$key" /f /reg:32 >/dev/null 2>&1
cp "$tools/stub_program.exe" "$explorer" && rm -f "$explorer.log"
run OK
has "[RZ_K] CVN Download OK." || fail "the file manager was not started"
grep -qF -- "\"$link\"" "$explorer.log" || fail "the file manager got '$(tr -d '\r\n' <"$explorer.log")', not its link"

road="unplugged"
run unplug
has "[RZ_K] CDFS out!! Kill me!" || fail "the launcher did not see its marker go"
echo "profile road ($name): 3 passed, 0 failed"
