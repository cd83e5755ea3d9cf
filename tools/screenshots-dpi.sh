#!/usr/bin/env bash
# Takes a picture of every window of the program at 96, 120, 144 and 192 dpi, under Wine on a
# private display, each scale in a prefix of its own whose display has that many dots per inch
# (QUENLAR_DPI in tools/wine/env.sh): the main window idle and with Alarm & Message chosen,
# About, Activate When, Repeat, Notify Before, Beep Frequency, the countdown warning, the message
# after its Cancel, and the alarm window. The windows are opened as a user opens them: clicks at
# the points of the 96-dpi layout scaled to the display's dpi, and keys for the menus. The warning
# and the alarm come from the journal edition, which writes its power requests down instead of
# making them, and the warning is cancelled: nothing acts on this computer. Builds the 64-bit quenlar.exe and quenlar-journal.exe first; writes
# docs/dpi/<window>-<dpi>.png. QUENLAR_SHOTS_DPI="120 144" takes only those scales.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
source tools/wine/env.sh
export QUENLAR_WINE_ARCH=64
unset QUENLAR_WINE_PREFIX # each scale needs the prefix of its own that QUENLAR_DPI gives
qw_use 64
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quenlar quenlar-journal -j2 >/dev/null
build="build/win64"
work="$(mktemp -d)"
# What the screen showed when a step failed, then the cleanup.
finish() {
  if [[ $1 -ne 0 && -n "${DISPLAY:-}" ]] && import -window root build/screenshots-dpi-failure.png 2>/dev/null; then
    echo "error at $dpi dpi; the screen: build/screenshots-dpi-failure.png" >&2
  fi
  qw_cleanup
  rm -rf "$work"
}
trap 'finish $?' EXIT
mkdir -p docs/dpi

source tools/screenshots-lib.sh
dpi=96
# A length of the 96-dpi layout at this display's dpi, rounded.
px() { echo $((($1 * dpi + 48) / 96)); }

# Waits for the window to go.
wait_gone() { # id
  local i
  for ((i = 0; i < 100; i++)); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  echo "error: window $1 stayed" >&2
  return 1
}
# A click at a point of the window given in pixels of the 96-dpi layout from its top left corner.
click() { # window x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $(px "$2"))) $((Y + $(px "$3"))) click 1
  sleep 0.4
}
key() { # window keys...
  local w="$1"
  shift
  xdotool windowfocus "$w" key --delay 150 "$@"
  sleep 0.4
}
shot() { # window name
  xdotool mousemove 1270 1015 # off every window, so that no tip or hot look shows
  sleep 0.8
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "docs/dpi/$2-$dpi.png"
  echo "docs/dpi/$2-$dpi.png (${WIDTH}x${HEIGHT})"
}
# Starts this edition of the program in a new folder of its own, so that no settings file of an
# earlier run is read; prints nothing, QW_PID is its process.
start() { # exe
  local folder
  folder="$(mktemp -d "$work/run.XXXXXX")"
  cp "$1" "$folder/quenlar.exe"
  qw_wine_bg 120 "$folder/quenlar.exe" </dev/null
}
stop() {
  kill "$QW_PID" 2>/dev/null || true
  wait "$QW_PID" 2>/dev/null || true
}
# "In" a number of seconds in the main window (the unit list's last item), and the countdown
# if one is given (the alarm's options hide it).
in_seconds() { # window seconds [countdown]
  click "$1" 210 147 # the In box: a click selects its text
  xdotool key ctrl+a type "$2"
  click "$1" 268 147 # the unit list opens
  xdotool key End Return
  sleep 0.3
  if [[ -n "${3:-}" ]]; then
    click "$1" 213 276 # the countdown box
    xdotool key ctrl+a type "$3"
    sleep 0.3
  fi
}

for dpi in ${QUENLAR_SHOTS_DPI:-96 120 144 192}; do
  export QUENLAR_DPI="$dpi"
  qw_use 64
  qw_prepare
  qw_start_xvfb
  qw_start_server

  # ---- the main window and the windows its menus open
  start "$build/quenlar.exe"
  main="$(wait_window ':: Quenlar 1.3 ::')"
  sleep 1.5
  shot "$main" main-idle
  key "$main" F1
  about="$(wait_window '^About$')"
  shot "$about" about
  key "$about" Escape
  wait_gone "$about"
  key "$main" F10 Down w # Menu, Activate When...
  when="$(wait_window '^Activate When$')"
  shot "$when" when
  key "$when" Escape
  wait_gone "$when"
  key "$main" F10 Down r # Menu, Repeat...
  repeat="$(wait_window '^Repeat$')"
  shot "$repeat" repeat
  key "$repeat" Escape
  wait_gone "$repeat"
  key "$main" F10 Right Down n # Settings, Notify Before...
  notify="$(wait_window '^Notify Before$')"
  shot "$notify" notify-before
  key "$notify" Escape
  wait_gone "$notify"
  key "$main" F10 Right Down f # Settings, Change Beep Frequency
  freq="$(wait_window '^Beep Frequency$')"
  shot "$freq" frequency
  key "$freq" alt+F4
  wait_gone "$freq"
  click "$main" 27 191 # Alarm & Message
  shot "$main" main-alarm
  stop

  # ---- the countdown warning: Lock Computer in a second, a countdown of 10, cancelled
  start "$build/quenlar-journal.exe"
  main="$(wait_window ':: Quenlar 1.3 ::')"
  sleep 1
  click "$main" 27 171 # Lock Computer
  in_seconds "$main" 1 10
  click "$main" 83 313 # Activate
  warning="$(wait_window '^ Warning!$')"
  sleep 1
  shot "$warning" warning
  key "$warning" Escape # Cancel
  told="$(wait_window ':: Quenlar 1.3 ::' "$main")" # the message that the action was cancelled
  shot "$told" cancelled
  key "$told" Return
  wait_gone "$told"
  stop

  # ---- the alarm window: Alarm & Message in a second
  start "$build/quenlar-journal.exe"
  main="$(wait_window ':: Quenlar 1.3 ::')"
  sleep 1
  click "$main" 27 191 # Alarm & Message
  in_seconds "$main" 1
  click "$main" 83 313 # Activate
  alarm="$(wait_window ':: Quenlar 1.3 - Alarm ::')"
  sleep 1
  shot "$alarm" alarm
  stop

  qw_cleanup
done
