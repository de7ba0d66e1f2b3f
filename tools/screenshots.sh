#!/usr/bin/env bash
# Renders what users see: the real launcher under Wine, in a virtual
# display, for a few languages and both roads, saved as PNGs in docs/.
# Build first (./run.sh or ./test.sh does).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
out="$root/docs"
mkdir -p "$out"

export CVN_FORCE_XVFB=1
. tools/wine-env.sh
trap 'cvn_stop_wine; cvn_stop_display' EXIT
cvn_start_display
cvn_start_wine

work="$root/build/screenshots"

shoot() {  # unix-locale lcid road(question|notice)
  local locale=$1 lcid=$2 road=$3
  rm -rf "$work" && mkdir -p "$work/disc" "$work/Corvana"
  cp -r "$root/build/disc/." "$work/disc/"
  if [ "$road" = notice ]; then
    cp "$root/build/bin/stub_program.exe" "$work/Corvana/Corvana.exe"
    cvn_set_install_location "$work/Corvana"
  else
    cvn_clear_install_location
  fi
  LANG="$locale.UTF-8" LC_ALL="$locale.UTF-8" \
    wine "$root/build/bin/tracerun.exe" --timeout 30 "$(winepath -w "$work/disc/CVNAI.exe")" >/dev/null 2>&1 &
  local runner=$!
  sleep 3
  xwd -root -silent | convert xwd:- -trim +repage "$out/$road-$lcid.png"
  # Unplug the device: the launcher ends itself.
  rm -f "$work/disc/Auto installer.qzt"
  wait $runner || true
  cvn_clear_install_location
  echo "screenshots: $out/$road-$lcid.png"
}

for pair in en_US:1033 fr_FR:1036 de_DE:1031 el_GR:1032 tr_TR:1055; do
  shoot "${pair%%:*}" "${pair#*:}" question
done
shoot en_US 1033 notice
shoot es_ES 3082 notice
shoot sv_SE 1053 notice
