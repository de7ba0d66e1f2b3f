#!/usr/bin/env bash
# Renders what users see, under Wine in a virtual display: the real
# launcher for a few languages and both roads, saved as PNGs in docs/; and
# every message dialog a user can meet (31: three messages in ten languages
# and the English unsupported-language notice) in docs/dialogs/, plus the
# notice and the question in English and Greek at 150 % and 200 % display
# scale and the English notice at 250 % and 300 % in docs/dialogs/scaled/,
# with one contact sheet of them all, docs/dialogs.png.
# Build first (./run.sh or ./test.sh does).
#   tools/screenshots.sh --profile profiles/NAME   that profile's 31 dialogs
#                      and their contact sheet (its gallery), under build
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
out="$root/docs"
mkdir -p "$out"

export CVN_FORCE_XVFB=1
. tools/wine-env.sh
cvn_choose_build   # the shipped build where it runs, else its x64 twin
trap 'cvn_stop_wine; cvn_stop_display' EXIT
if [ "${1:-}" = --profile ]; then
  [ $# = 2 ] && [ -f "$2/profile.toml" ] || { echo "screenshots: --profile needs a profile folder" >&2; exit 2; }
  cvn_use_profile "$2"
  cvn_build_profile_disc "$cvn_build" "$root/cmake/$cvn_preset.cmake" dialogshots
  cvn_start_display
  cvn_start_wine
  gallery="$cvn_disc_build/gallery"
  rm -rf "$gallery" && mkdir -p "$gallery"
  wine "$cvn_disc_build/bin/dialogshots.exe" "$(winepath -w "$gallery")"
  sheet=()
  for bmp in "$gallery"/*.bmp; do
    /usr/bin/convert "$bmp" -strip "${bmp%.bmp}.png" && rm "$bmp"
    name=$(basename "$bmp" .bmp)
    sheet+=(-label "${name#*-}" "${bmp%.bmp}.png")
  done
  /usr/bin/montage "${sheet[@]}" -tile 5x -geometry 401x156+6+6 -background white -pointsize 13 \
    -font /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$gallery.png"
  echo "screenshots: $cvn_profile_name's $(ls "$gallery" | wc -l) dialogs in $gallery, contact sheet $gallery.png"
  exit 0
fi
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
  xwd -root -silent | convert xwd:- -trim +repage -strip -define png:exclude-chunks=date,time "$out/$road-$lcid.png"
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
label_font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
/usr/bin/montage "${sheet[@]}" -tile 5x -geometry 401x156+6+6 -background white -pointsize 13 \
  -font "$label_font" "$work/sheet.png"

# The same dialogs at 150 % and 200 %, and the notice at 250 % and 300 %:
# Wine gives programs started while LogPixels is set that many dots per
# inch. Shown at their own size.
mkdir -p "$out/dialogs/scaled"
scaled=()
for dpi_percent in 144:150 192:200 240:250 288:300; do
  dpi=${dpi_percent%%:*} percent=${dpi_percent#*:}
  rm -rf "$shots-$percent" && mkdir -p "$shots-$percent"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine "$cvn_build/bin/dialogshots.exe" "$(winepath -w "$shots-$percent")" || true
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
  for shot in notice-5000-1033 question-5001-1033 notice-5000-1032 question-5001-1032; do
    case "$percent:$shot" in 250:question* | 300:question* | 250:*1032 | 300:*1032) continue ;; esac
    png "$shots-$percent/$shot.bmp" "$out/dialogs/scaled/$shot-$percent.png"
    scaled+=(-label "${shot%-*} ${language[${shot##*-}]} $percent %" "$out/dialogs/scaled/$shot-$percent.png")
  done
done
/usr/bin/montage "${scaled[@]}" -tile 4x -geometry +6+6 -background white -pointsize 13 \
  -font "$label_font" "$work/scaled.png"
/usr/bin/convert "$work/sheet.png" "$work/scaled.png" -background white -gravity west -append "$work/all.png"
png "$work/all.png" "$out/dialogs.png"
# For judging sharpness: the 96-dot notice enlarged to 200 % beside the
# notice drawn at 200 %.
/usr/bin/convert \( "$out/dialogs/notice-5000-1033.png" -filter Triangle -resize 200% \) \
  "$out/dialogs/scaled/notice-5000-1033-200.png" -background white +append "$work/compare.png"
png "$work/compare.png" "$out/dialogs/scaled/compare-enlarged-vs-200.png"
# At 300 %: the focused OK face as the launcher showed it before faces were
# drawn at run time (the stored 200 % face, enlarged; from the last commit
# that had it) beside the face drawn at 300 % (its place: 164, 115 and
# 83 x 23 at 96 dots, times 3).
old_face=965a47a
if git -C "$root" cat-file -e "$old_face:res/images/OKF200.png" 2>/dev/null; then
  git -C "$root" show "$old_face:res/images/OKF200.png" >"$work/okf200.png"
  /usr/bin/convert \( "$work/okf200.png" -filter Triangle -resize 249x69\! \) \
    \( "$out/dialogs/scaled/notice-5000-1033-300.png" -crop 249x69+492+345 +repage \) \
    -bordercolor white -border 6 +append -scale 200% "$work/face.png"
  png "$work/face.png" "$out/dialogs/scaled/compare-face-300.png"
else
  echo "screenshots: the stored 200 % faces are not in this clone's history; compare-face-300.png kept as it is"
fi
echo "screenshots: $(ls "$out/dialogs"/*.png | wc -l) dialogs in $out/dialogs, $(ls "$out/dialogs/scaled"/*-1???-???.png | wc -l) scaled ones, contact sheet $out/dialogs.png"
