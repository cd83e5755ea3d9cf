#!/usr/bin/env bash
# Takes the README's pictures of the main window under Wine on a private display: idle (and its
# countdown row enlarged), with Alarm & Message chosen, with the countdown at zero, and with a
# schedule active. Builds quenlar.exe first; writes docs/main-*.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
source tools/wine/env.sh
qw_build_default quenlar
exe="$(realpath "build/win$QW_ARCH/quenlar.exe")"
work="$(mktemp -d)"
cp "$exe" "$work/" # its own folder, so no settings file of an earlier run is read

trap 'qw_cleanup; rm -rf "$work"' EXIT
qw_prepare
qw_start_xvfb
qw_start_server
qw_wine_bg 120 "$work/quenlar.exe" </dev/null

window=""
for ((i = 0; i < 200; i++)); do
  window="$(xdotool search --onlyvisible --name ':: Quenlar' 2>/dev/null | head -n 1 || true)"
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "error: the main window did not show" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT

# Points inside the window, in pixels from its top-left corner (the layout at 96 dpi).
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.4; }
park() { xdotool mousemove $((X + WIDTH + 150)) $((Y + HEIGHT + 150)); sleep 0.3; }
shot() { # name [extra pixels to the right, for a tooltip]
  local extra="${2:-0}"
  import -window root -crop "$((WIDTH + extra))x$((HEIGHT + 12))+$X+$Y" +repage "docs/$1.png"
  echo "docs/$1.png"
}

mkdir -p docs
sleep 1.5
park
shot main-idle
# The countdown row, four times larger: the spinner beside its box, inside its panel.
convert docs/main-idle.png -crop 200x34+110+262 +repage -filter point -resize 400% docs/main-countdown-row.png
echo docs/main-countdown-row.png
click 27 191 # Alarm & Message
park
shot main-alarm
click 27 71 # Shutdown
click 83 313 # Activate
park
shot main-active
click 83 313 # Deactivate
click 213 276 # the countdown box: entering selects it
xdotool key BackSpace
xdotool mousemove $((X + 215)) $((Y + 279))
sleep 1.5 # the tooltip shows the no-countdown warning
shot main-no-countdown 420
