#!/usr/bin/env bash
# Takes the pictures of the tray pop-up and of the alarm window under Wine on a private display:
# docs/tray-icon.png (the real program's icon in Wine's stand-in for the notification area),
# docs/tray-popup.png (the right button pressed on that icon),
# docs/alarm-media.png (the longest message, a WAV playing, the pointer on the status bar so
# that the file's path shows) and docs/alarm-no-media.png. The alarm windows come from the
# Windows test program's alarm tests, kept up a few seconds each for the pictures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
source tools/wine/env.sh
qw_build_default quenlar quenlar_win32_tests
build="build/win$QW_ARCH"
work="$(mktemp -d)"
cp "$build/quenlar.exe" "$work/" # its own folder, so no settings file of an earlier run is read

trap 'qw_cleanup; rm -rf "$work"' EXIT
qw_prepare
qw_start_xvfb
qw_start_server
mkdir -p docs

wait_window() { # title; prints the id of the visible window
  local id=""
  for ((i = 0; i < 200; i++)); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "error: no window '$1'" >&2
  return 1
}
shot() { # name x y width height
  import -window root -crop "$4x$5+$2+$3" +repage "docs/$1.png"
  echo "docs/$1.png"
}

# ---- the tray pop-up
qw_wine_bg 60 "$work/quenlar.exe" </dev/null
main="$(wait_window ':: Quenlar')"
eval "$(xdotool getwindowgeometry --shell "$main")"
sleep 1
xdotool mousemove $((X + 234)) $((Y + 313)) click 1 # Minimize to Tray
tray="$(wait_window 'Wine System Tray')"
eval "$(xdotool getwindowgeometry --shell "$tray")"
xdotool mousemove $((X + 100)) $((Y + 100))
sleep 0.5
shot tray-icon "$X" "$Y" "$WIDTH" "$HEIGHT"
xdotool mousemove $((X + 10)) $((Y + HEIGHT / 2)) click 3
sleep 1
shot tray-popup "$X" "$Y" 200 110
xdotool key Escape
kill "$QW_PID" 2>/dev/null || true
sleep 0.5

# ---- the alarm windows
QUENLAR_SHOWCASE_MS=5000 qw_wine_bg 60 "$build/quenlar_win32_tests.exe" --gtest_filter='NativeAlarm.*' </dev/null
for name in alarm-media alarm-no-media; do
  alarm="$(wait_window ':: Quenlar 1.3 - Alarm ::')"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$alarm")"
  if [[ $name == alarm-media ]]; then
    xdotool mousemove $((X + 40)) $((Y + HEIGHT - 8)) # on the status bar's panel
    sleep 1.5
    shot "$name" "$X" "$Y" $((WIDTH + 120)) $((HEIGHT + 40))
  else
    xdotool mousemove 5 5
    shot "$name" "$X" "$Y" "$WIDTH" "$HEIGHT"
  fi
  # This window going, not any alarm window: the next test's may already be up.
  while xdotool search --onlyvisible --name ':: Quenlar 1.3 - Alarm ::' 2>/dev/null | grep -qx "$alarm"; do sleep 0.2; done
done
wait "$QW_PID" || true
