#!/usr/bin/env bash
# Draws the program's two icons with ImageMagick: a white power symbol on a purple square
# (the window and the active tray icon) and the same in greys (the tray icon while idle).
set -euo pipefail
cd "$(dirname "$0")/../res"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() { # name background foreground
  for size in 16 32 48; do
    local s=$((size * 8)) # draw large, then scale down smoothly
    local c=$((s / 2)) r=$((s * 30 / 100)) w=$((s / 10 > 1 ? s / 10 : 1))
    convert -size ${s}x${s} xc:none \
      -fill "$2" -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $((s / 6)),$((s / 6))" \
      -fill none -stroke "$3" -strokewidth $w -draw "arc $((c - r)),$((c - r)) $((c + r)),$((c + r)) 300,240" \
      -draw "line $c,$((c - r - w)) $c,$((c - w / 2))" \
      -resize ${size}x${size} "$work/$1-$size.png"
  done
  convert "$work/$1-16.png" "$work/$1-32.png" "$work/$1-48.png" "$1.ico"
}

draw quenlar '#6a3fa0' white
draw disabled '#8c8c8c' '#e0e0e0'
