#!/usr/bin/env bash
# Draws the skin's images with ImageMagick into a profile's images/: the
# button faces from its [faces], the backgrounds and the icon in this
# design. The results are committed with the profile, so a build needs no
# image tools; run this again only after changing the design.
#   tools/make_assets.sh [PROFILE_DIR]     default profiles/default
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
profile="$(cd "${1:-$here/profiles/default}" && pwd)"
out="$profile/images"
mkdir -p "$out"
# One value of the profile's [faces]: face KEY.
face() {
  /usr/bin/python3 -c 'import sys, tomllib
value = tomllib.load(open(sys.argv[1], "rb"))["faces"]
for part in sys.argv[2].split("."): value = value[part]
print(value)' "$profile/profile.toml" "$1"
}
surround=$(face surround)
radius=$(face corner_radius)
label_height=$(face label_height)
font_bold="DejaVu-Sans-Bold"

# Background: a dark blue title band over rows 0-28, a white body that fades
# to light grey, a dark bottom line and transparent, rounded corners.
background() {  # width height file
  local w=$1 h=$2 file=$3
  local body_h=$((h - 29 - 1))
  convert \
    \( -size "${w}x29" gradient:'#274b86-#16305c' \) \
    \( -size "${w}x1" xc:'#3c5f99' \) \
    \( -size "${w}x$((body_h - 1))" gradient:'#ffffff-#e4e8ee' \) \
    \( -size "${w}x1" xc:'#2b3648' \) \
    -append +repage \
    -fill '#ffffff22' -draw "line 0,1 $((w - 1)),1" \
    \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 4,4" \) \
    -alpha off -compose CopyOpacity -composite +repage \
    -define png:color-type=6 -define png:exclude-chunk=date,time -depth 8 "PNG32:$file"
}

# A button face: 83 x 23, 24 bits, on the body colour behind it.
button() {  # top bottom border label-colour label file
  local top=$1 bottom=$2 border=$3 ink=$4 label=$5 file=$6
  convert -size 83x23 xc:"$surround" \
    \( -size 81x21 gradient:"${top}-${bottom}" \) -geometry +1+1 -compose over -composite \
    -fill none -stroke "$border" -strokewidth 1 -draw "roundrectangle 0,0 82,22 $radius,$radius" \
    -stroke none -fill "$surround" -draw "point 0,0 point 82,0 point 0,22 point 82,22" \
    -font "$font_bold" -pointsize "$label_height" -fill "$ink" -gravity center -annotate +0+0 "$label" \
    -alpha off -type TrueColor -compress None "BMP3:$file"
}

background 401 156 "$out/notice_background.png"
background 264 156 "$out/question_background.png"

# The four faces at 96 dots. At other scales the launcher draws them itself
# from the same description.
faces() {  # name label
  local name=$1 label=$2 state
  for state in U:up D:down F:focused X:disabled; do
    button "$(face "${state#*:}.top")" "$(face "${state#*:}.bottom")" "$(face "${state#*:}.border")" \
      "$(face "${state#*:}.ink")" "$label" "$out/${name}${state%%:*}.bmp"
  done
}
faces OK "$(face ok_label)"
faces EXIT "$(face exit_label)"


# The application icon: a disc in the title band's blue, at 48, 32 and 16.
convert -size 256x256 xc:none \
  -fill '#1d3d72' -draw "roundrectangle 8,8 247,247 40,40" \
  -fill '#ffffff' -draw "circle 128,128 128,40" \
  -fill '#2f66c0' -draw "circle 128,128 128,62" \
  -fill '#ffffff' -draw "circle 128,128 128,104" \
  -fill '#1d3d72' -draw "circle 128,128 128,116" \
  -define icon:auto-resize=48,32,16 "$out/launcher.ico"
echo "images written to $out"
