#!/usr/bin/env bash
# Renders what users see, under Wine in a virtual display: the real
# launcher for a few languages and both roads, saved as PNGs in docs/; and
# every message dialog a user can meet (31: three messages in ten languages
# and the English unsupported-language notice) in docs/dialogs/, with one
# contact sheet of them all, docs/dialogs.png.
# Build first (./run.sh or ./test.sh does).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
out="$root/docs"
mkdir -p "$out"

export CVN_FORCE_XVFB=1
. tools/wine-env.sh
cvn_choose_build   # the shipped build where it runs, else its x64 twin
trap 'cvn_stop_wine; cvn_stop_display' EXIT
cvn_start_display
cvn_start_wine

work="$root/build/screenshots"

shoot() {  # unix-locale lcid road(question|notice)
  local locale=$1 lcid=$2 road=$3
  rm -rf "$work" && mkdir -p "$work/disc" "$work/Corvana"
  cp -r "$cvn_build/disc/." "$work/disc/"
  if [ "$road" = notice ]; then
    cp "$cvn_build/bin/stub_program.exe" "$work/Corvana/Corvana.exe"
    cvn_set_install_location "$work/Corvana"
  else
    cvn_clear_install_location
  fi
  LANG="$locale.UTF-8" LC_ALL="$locale.UTF-8" \
    wine "$cvn_build/bin/tracerun.exe" --timeout 30 "$(winepath -w "$work/disc/CVNAI.exe")" >/dev/null 2>&1 &
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

# Every message dialog, and the contact sheet.
shots="$work/dialogs"
rm -rf "$shots" "$out/dialogs" && mkdir -p "$shots" "$out/dialogs"
wine "$cvn_build/bin/dialogshots.exe" "$(winepath -w "$shots")"
png() { /usr/bin/convert "$1" -strip -define png:exclude-chunks=date,time "$2"; }
declare -A language=([1033]="English (US)" [2057]="English (UK)" [1043]=Dutch [1036]=French [1031]=German
                     [1032]=Greek [1040]=Italian [2070]=Portuguese [3082]=Spanish [1055]=Turkish)
sheet=()
for id in 5000 5001 5002 5003; do
  for lcid in 1033 2057 1043 1036 1031 1032 1040 2070 3082 1055; do
    for kind in notice question; do
      bmp="$shots/$kind-$id-$lcid.bmp"
      [ -f "$bmp" ] || continue
      png "$bmp" "$out/dialogs/$kind-$id-$lcid.png"
      sheet+=(-label "$id ${language[$lcid]}" "$out/dialogs/$kind-$id-$lcid.png")
    done
  done
done
/usr/bin/montage "${sheet[@]}" -tile 5x -geometry 401x156+6+6 -background white -pointsize 13 \
  -font /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$work/sheet.png"
png "$work/sheet.png" "$out/dialogs.png"
echo "screenshots: $(ls "$out/dialogs" | wc -l) dialogs in $out/dialogs, contact sheet $out/dialogs.png"
