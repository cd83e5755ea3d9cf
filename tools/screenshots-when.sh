#!/usr/bin/env bash
# Takes the pictures of "Activate When" under Wine on a private display: the window with a
# running program's name chosen, and the main window armed with that condition. Wine's own
# Notepad stands in for the long job. Writes docs/when-window.png and docs/when-armed.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
source tools/wine/env.sh
qw_program quenlar
work="$(mktemp -d)"
cp "$QW_EXE" "$work/" # its own folder, so no settings file of an earlier run is read

trap 'qw_cleanup; rm -rf "$work"' EXIT
qw_prepare
qw_start_xvfb
qw_start_server
qw_wine_bg 180 notepad </dev/null
notepad_pid="$QW_PID"
qw_wine_bg 180 "$work/quenlar.exe" </dev/null

# Waits for a visible window with this title; prints its id.
wait_window() { # title
  for ((i = 0; i < 300; i++)); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 && return 0
    sleep 0.1
  done
  echo "error: no window '$1'" >&2
  return 1
}
shot() { # window name
  sleep 0.6
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "docs/$2.png"
  echo "docs/$2.png"
}
# A click at a point of a window, in pixels from its top left corner.
click() { # window x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep 0.4
}

wait_window 'Notepad' >/dev/null
main="$(wait_window ':: Quenlar 1.3 ::')"
xdotool windowraise "$main"
sleep 1
# "Menu" on the menu bar, then its item "Activate When..." by its access key.
click "$main" 20 32
xdotool key w
when="$(wait_window '^Activate When$')"
xdotool windowraise "$when"
# Into the program's box (the right of the first row), the name typed.
click "$when" 250 40
xdotool type --delay 30 notepad.exe
eval "$(xdotool getwindowgeometry --shell "$when")"
xdotool mousemove $((X + 20)) $((Y + HEIGHT - 20)) # off the box, so that its tip goes
sleep 1
shot "$when" when-window
xdotool key Return # the Default button: Activate
sleep 1
xdotool windowraise "$main"
shot "$main" when-armed

kill "$notepad_pid" 2>/dev/null || true
wait_window ' Warning!' >/dev/null
xdotool key Escape # the warning's Cancel: the program ends without acting
