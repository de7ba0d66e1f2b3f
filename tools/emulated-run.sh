#!/usr/bin/env bash
# The shipped disc's own 32-bit CVNAI.exe, started from the mapped CD drive
# under Wine's 32-bit loader. One run with Corvana installed (notice, OK,
# Corvana started) and one without (question, OK, link opened); each must
# end with exit code 0 after the specified trace lines in order.
#   tools/emulated-run.sh          where this host cannot run 32-bit programs:
#                                  qemu-i386 runs the loader, one to several
#                                  minutes per Wine process (./test.sh --emulated)
#   tools/emulated-run.sh --show   the same on your display (./run.sh --emulated)
#   tools/emulated-run.sh --in-suite ISO TOOLS
#                                  one entry of the shipped build's suite where
#                                  32-bit programs run natively: installs and
#                                  builds nothing, runs ISO's launcher with the
#                                  trace runner and button presser in TOOLS
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
started=$(date +%s)
show="" in_suite="" tag=emulated
case "${1:-}" in
  --show) [ -z "${DISPLAY:-}" ] || show=1 ;;
  --in-suite) in_suite=1 tag="disc run" ;;
esac

if [ -n "$in_suite" ]; then
  [ $# = 3 ] || { echo "usage: emulated-run.sh --in-suite ISO TOOLS" >&2; exit 2; }
  iso=$(realpath "$2") tools=$(realpath "$3")
  # The suite's display serves; the prefix is this run's own.
  [ -z "${DISPLAY:-}" ] || unset CVN_FORCE_XVFB
  work="$(dirname "$iso")/disc-run"
  prefix="$(dirname "$iso")/wine-prefix-disc-run"
else
  echo "$tag: installs the i386 architecture and wine32, and where this host refuses 32-bit programs qemu-user-static, registered for them in binfmt_misc: a system-wide change"
  if ! ./tools/setup.sh --emulated; then
    echo "$tag: the package mirror could not supply the i386 packages (wine32:i386 and its libraries); nothing was run" >&2
    exit 1
  fi

  # The interpreter for 32-bit x86 programs, unless the host runs them.
  if [ "$(./tools/host32.sh)" = none ]; then
    binfmt=/proc/sys/fs/binfmt_misc
    if [ ! -e "$binfmt/register" ]; then
      mount -t binfmt_misc binfmt_misc "$binfmt" || { echo "$tag: cannot mount $binfmt (root needed)" >&2; exit 1; }
    fi
    qemu=$(command -v qemu-i386-static || echo /usr/bin/qemu-i386-static)
    if [ ! -e "$binfmt/qemu-i386" ]; then
      printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" \
        >"$binfmt/register" || { echo "$tag: cannot register $qemu in binfmt_misc" >&2; exit 1; }
    fi
    echo 1 >"$binfmt/qemu-i386" 2>/dev/null || true
  fi
  host32=$(./tools/host32.sh)
  if [ "$host32" = none ]; then
    echo "$tag: 32-bit programs still do not run; is qemu-i386 registered?" >&2
    exit 1
  fi
  echo "$tag: 32-bit programs run here ($host32)"

  # The shipped disc, and the twin's tools (they run natively and start the
  # 32-bit launcher, which Wine hands to its 32-bit loader).
  for preset in mingw-i686 mingw-x86_64; do
    cmake --preset "$preset" -DCVN_PROFILE="$root/profiles/default" >/dev/null
    cmake --build --preset "$preset" >/dev/null
  done
  iso="$root/build/cvn-disc.iso"
  tools="$root/build64/bin"
  work="$root/build/emulated"
  # A prefix of its own: made with wine32 present, it holds the 32-bit
  # side, and the suite's prefix stays as the twin made it.
  prefix="$root/build/wine-prefix-emulated"
  [ -n "$show" ] || export CVN_FORCE_XVFB=1
fi

export CVN_WINEPREFIX="$prefix"
. tools/wine-env.sh
trap cvn_end_run EXIT
cvn_start_display
cvn_start_wine

chmod -R u+w "$work" 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work/Corvana" "$work/cwd"
cvn_map_disc "$iso" "$work/cd"
chmod -R a-w "$work/cd"
cp "$tools/stub_program.exe" "$work/Corvana/Corvana.exe"
# The file manager the link is handed to: a stub in place of the Windows
# folder's explorer.exe (this prefix's own; Wine's desktop runs the system
# folder's). One planted in the launcher's current folder must not run.
explorer="$WINEPREFIX/drive_c/windows/explorer.exe"
cp "$tools/stub_program.exe" "$explorer"
rm -f "$explorer.log"
cp "$tools/stub_program.exe" "$work/cwd/explorer.exe"
link=$(head -n1 "$work/cd/CVNAI.ini" | tr -d '\r' | sed 's/^\[CVN_DOWNLOAD_LINK\]=//')

# The trace as tracerun printed it through Wine's console, whose lines end
# in CR LF: CRs dropped, and each line's time stamp.
trace_lines() {
  tr -d '\r' <"$1" | sed 's/^\[ *[0-9]* ms\] //'
}

# The lines after the trace $1 must appear in it in this order.
expect_in_order() {
  local trace=$1 first_missing; shift
  printf '%s\n' "$@" >"$work/expected.txt"
  first_missing=$(trace_lines "$trace" |
    awk 'NR == FNR { want[++n] = $0; next }
         i < n && $0 == want[i + 1] { i++ }
         END { if (i < n) print want[i + 1] }' "$work/expected.txt" -)
  if [ -n "$first_missing" ]; then
    echo "$tag: FAIL: looked for, in this order:" >&2
    printf '    %s\n' "$@" >&2
    echo "  '$first_missing' is missing or out of order; the launcher's own lines were:" >&2
    trace_lines "$trace" | grep -e '^\[RZ_K\]' -e '^\[LC\]' | grep -v -e '^\[RZ_K\] CheckCDFS : ' -e '^\[RZ_K\] CDFS exist!$' |
      sed 's/^/    /' >&2
    return 1
  fi
}

expect_exit_zero() {
  local trace=$1 found
  found=$(trace_lines "$trace" | grep '^tracerun: ' | tail -n 1)
  if [ "$found" != "tracerun: exit code 0" ]; then
    echo "$tag: FAIL: looked for 'tracerun: exit code 0' as the runner's last word, found '${found:-nothing from tracerun}'" >&2
    return 1
  fi
}

run_one() {  # installed|not-installed
  local mode=$1 trace="$work/trace-$1.txt" t0 status=0
  t0=$(date +%s)
  if [ "$mode" = installed ]; then
    cvn_set_install_location "$work/Corvana"
  else
    cvn_clear_install_location
  fi
  echo "$tag: starting Q:\\CVNAI.exe ($mode)"
  wine "$tools/tracerun.exe" --timeout 1200 --cwd "$(winepath -w "$work/cwd")" 'Q:\CVNAI.exe' >"$trace" 2>&1 &
  local runner=$!
  wine "$tools/pressbutton.exe" --wait 900 OK || status=1
  wait $runner || status=1
  cat "$trace"
  expect_exit_zero "$trace" || status=1
  # The disc's own image DLL, checked and loaded from the CD-ROM drive.
  if trace_lines "$trace" | grep -qxF '[RZ_K] CVNImage.dll Verify Error.'; then
    echo "$tag: FAIL: the disc's own CVNImage.dll was refused" >&2
    status=1
  fi
  local folder
  folder=$(winepath -w "$work/Corvana")
  if [ "$mode" = installed ]; then
    expect_in_order "$trace" "[RZ_K] Start. Action!." "[RZ_K] CheckCVN(+)" "[RZ_K] CVN InstallLocation : [$folder]" \
      "[RZ_K] CheckCVN(-)" "[RZ_K] RunCVN(+)" "[RZ_K] CVN Run OK." "[RZ_K] RunCVN(-)" "[RZ_K] End. Zzz.." \
      "[RZ_K] OnDestroy()" || status=1
    grep -q "Corvana.exe" "$work/Corvana/Corvana.exe.log" 2>/dev/null ||
      { echo "$tag: FAIL: looked for Corvana's start in $work/Corvana/Corvana.exe.log, found none" >&2; status=1; }
  else
    expect_in_order "$trace" "[RZ_K] Start. Action!." "[RZ_K] CheckCVN(+)" "[RZ_K] CheckCVN(-)" \
      "[RZ_K] DownloadCVN(+)" "[RZ_K] CVN Download OK." "[RZ_K] DownloadCVN(-)" "[RZ_K] End. Zzz.." \
      "[RZ_K] OnDestroy()" || status=1
    grep -qF -- "\"$link\"" "$explorer.log" 2>/dev/null ||
      { echo "$tag: FAIL: looked for '\"$link\"' in the file manager's command line, found '$(tr -d '\r\n' <"$explorer.log" 2>/dev/null)'" >&2; status=1; }
    [ ! -e "$work/cwd/explorer.exe.log" ] ||
      { echo "$tag: FAIL: the file manager planted in the current folder ran" >&2; status=1; }
  fi
  echo "$tag: $mode run: $([ $status = 0 ] && echo passed || echo FAILED) in $(( $(date +%s) - t0 )) s"
  return $status
}

failures=0
run_one installed || failures=$((failures + 1))
run_one not-installed || failures=$((failures + 1))
echo "$tag: $((2 - failures)) passed, $failures failed, in $(( $(date +%s) - started )) s"
[ "$failures" = 0 ]
