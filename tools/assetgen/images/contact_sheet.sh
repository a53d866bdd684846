#!/usr/bin/env bash
# Tiles the generated pictures into a few PNG sheets for looking at them, turned
# the way the game shows them (HUD and map icons turned back upright). Not run by
# the build.
#   tools/assetgen/images/contact_sheet.sh [DATA_DIR] [OUT_DIR]
set -euo pipefail
data=${1:-build/Data}
out=${2:-/tmp/velkaran-sheets}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tex="$data/Textures"

# Copies one file into the staging folder, turned as shown on screen, over a checkerboard
# so that transparency shows.
stage() {  # group mount file
  local group=$1 mount=$2 file=$3 name
  name=$(basename "${file%.*}").png
  mkdir -p "$tmp/$group"
  local op=()
  case $mount in
    turn) op=(-rotate 180) ;;
  esac
  convert "$file" "${op[@]}" \( -size "$(identify -format '%wx%h' "$file")" pattern:checkerboard -fill '#808080' -colorize 40% \) \
    +swap -compose over -composite "$tmp/$group/$name"
}

for f in "$tex"/Bricks/*.png "$tex"/Frames/*.png; do stage walls face "$f"; done
for f in "$tex"/Terrain/*.jpg "$tex"/Terrain/*.png "$tex"/enemy01.jpg "$tex"/trace_path_type_*.png \
         "$tex"/Projectile*.png "$tex"/FlagTexture.png; do stage surfaces up "$f"; done
for f in "$tex"/HUD/*Icon*.png "$tex"/HUD/Hiyura*.png "$tex"/HUD/celulas*.png "$tex"/HUD/Celulas*.png; do stage hud turn "$f"; done
for f in "$tex"/HUD/Map/*_IconMap.png; do stage map turn "$f"; done
for f in "$tex"/HUD/crossHair_*.png "$tex"/Indicator.png "$tex"/version_32_bits.png; do stage overlays face "$f"; done
for f in "$tex"/muzzleFlash.png "$tex"/Particles/*.png; do stage overlays up "$f"; done
for f in "$tex"/*_menu.png "$tex"/Main_menu.png "$tex"/loading_screen.png "$tex"/GameOver.png "$tex"/VictoryScreen.png \
         "$tex"/BloodFrame.png "$tex"/HUD/SniperScope.png "$tex"/HUD/Map/Background_map.png; do stage screens face "$f"; done

# The sky as an unfolded cross: top above front, the ring left-front-right-back, bottom below.
sky="$tex/Skyboxes/Red"
convert -size 512x512 xc:black "$tmp/blank.png"
convert \( "$tmp/blank.png" "$sky/top.jpg" "$tmp/blank.png" "$tmp/blank.png" +append \) \
        \( "$sky/left.jpg" "$sky/front.jpg" "$sky/right.jpg" "$sky/back.jpg" +append \) \
        \( "$tmp/blank.png" "$sky/bottom.jpg" "$tmp/blank.png" "$tmp/blank.png" +append \) -append "$out/sky.png"

montage "$tmp"/walls/*.png -tile 9x -geometry 200x300+6+6 -background '#202020' -fill white -pointsize 11 -label '%f' "$out/walls.png"
montage "$tmp"/surfaces/*.png -tile 6x -geometry 256x256+6+6 -background '#202020' -fill white -pointsize 11 -label '%f' "$out/surfaces.png"
montage "$tmp"/hud/*.png -tile 10x -geometry 128x128+6+6 -background '#3a3f46' -fill white -pointsize 10 -label '%f' "$out/hud.png"
montage "$tmp"/map/*.png -tile 13x -filter point -geometry 96x96+6+6 -background '#0c1a22' -fill white -pointsize 9 -label '%f' "$out/map.png"
montage "$tmp"/overlays/*.png -tile 5x -geometry 200x200+6+6 -background '#3a3f46' -fill white -pointsize 11 -label '%f' "$out/overlays.png"
montage "$tmp"/screens/*.png -tile 3x -geometry 640x400+6+6 -background '#202020' -fill white -pointsize 12 -label '%f' "$out/screens.png"
ls "$out"
