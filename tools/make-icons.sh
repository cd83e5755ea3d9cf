#!/usr/bin/env bash
# Draws the program's icons with ImageMagick: a white power symbol on a purple square (the
# window and the active tray icon), the same in greys (the tray icon while idle), and a blue
# letter i in a white speech bubble (the alarm window's information sign).
# The 16, 32 and 48 pixel images in res/ (and the bubble's 32, 34 and 48) were drawn by an
# earlier ImageMagick, which put a few edge pixels differently; they were kept as they were
# when the other sizes were added, so that the windows at 100 % look exactly as before.
set -euo pipefail
cd "$(dirname "$0")/../res"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() { # name background foreground
  # Every size Windows asks for from 100 % to 200 %: the small icon 16 to 32, the large 32 to 64.
  for size in 16 20 24 32 40 48 64; do
    local s=$((size * 8)) # draw large, then scale down smoothly
    local c=$((s / 2)) r=$((s * 30 / 100)) w=$((s / 10 > 1 ? s / 10 : 1))
    convert -size ${s}x${s} xc:none \
      -fill "$2" -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $((s / 6)),$((s / 6))" \
      -fill none -stroke "$3" -strokewidth $w -draw "arc $((c - r)),$((c - r)) $((c + r)),$((c + r)) 300,240" \
      -draw "line $c,$((c - r - w)) $c,$((c - w / 2))" \
      -resize ${size}x${size} "$work/$1-$size.png"
  done
  convert "$work/$1-"{16,20,24,32,40,48,64}.png "$1.ico"
}

draw quenlar '#6a3fa0' white
draw disabled '#8c8c8c' '#e0e0e0'

# The bubble's tail points down to the left; the letter's dot and stem sit in the middle.
for size in 32 34 40 48 64; do
  s=$((size * 8))
  convert -size ${s}x${s} xc:none \
    -fill white -stroke '#5a6e8c' -strokewidth $((s / 32)) \
    -draw "ellipse $((s / 2)),$((s * 42 / 100)) $((s * 45 / 100)),$((s * 36 / 100)) 0,360" \
    -draw "polygon $((s * 22 / 100)),$((s * 66 / 100)) $((s * 12 / 100)),$((s * 96 / 100)) $((s * 42 / 100)),$((s * 74 / 100))" \
    -stroke none -draw "ellipse $((s / 2)),$((s * 42 / 100)) $((s * 43 / 100)),$((s * 34 / 100)) 0,360" \
    -fill '#1f5fbf' -draw "circle $((s / 2)),$((s * 22 / 100)) $((s / 2 + s * 6 / 100)),$((s * 22 / 100))" \
    -draw "roundrectangle $((s * 44 / 100)),$((s * 33 / 100)) $((s * 56 / 100)),$((s * 64 / 100)) $((s / 40)),$((s / 40))" \
    -resize ${size}x${size} "$work/info-$size.png"
done
convert "$work/info-"{32,34,40,48,64}.png info.ico
