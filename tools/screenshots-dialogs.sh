#!/usr/bin/env bash
# Takes the pictures of the windows around the main one under Wine on a private display: the
# beep frequency window, the about box, and the update check's messages, with a web server on
# the loopback standing in for the product site. Builds its own quenlar.exe (build/shots-winNN)
# pointed at that server; writes docs/frequency.png, docs/about.png and docs/update-*.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
source tools/wine/env.sh
qw_use_default
port="${QUENLAR_SHOTS_PORT:-48214}"
build="build/shots-win$QW_ARCH"
cmake --preset "win$QW_ARCH" -B "$build" -DQUENLAR_SITE="http://127.0.0.1:$port" >/dev/null
cmake --build "$build" --target quenlar -j2 >/dev/null
exe="$(realpath "$build/quenlar.exe")"
work="$(mktemp -d)"
cp "$exe" "$work/" # its own folder, so no settings file of an earlier run is read

answer() { printf '%s' "$1" >"$work/answer"; }
answer ""
python3 tools/standin-site.py "$port" "$work/answer" &
site_pid=$!

trap 'kill "$site_pid" 2>/dev/null || true; qw_cleanup; rm -rf "$work"' EXIT
qw_prepare
qw_start_xvfb
qw_start_server
qw_wine_bg 180 "$work/quenlar.exe" </dev/null

source tools/screenshots-lib.sh
shot() { # window name
  sleep 0.6
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "docs/$2.png"
  echo "docs/$2.png"
}
key() { # window keys...
  local w="$1"
  shift
  xdotool windowfocus "$w" key "$@"
  sleep 0.3
}

mkdir -p docs
main="$(wait_window ':: Quenlar 1.3 ::')"
sleep 1

key "$main" alt+t f # Settings, Change Beep Frequency
freq="$(wait_window '^Beep Frequency$')"
shot "$freq" frequency
key "$freq" alt+F4

key "$main" F1
about="$(wait_window '^About$')"
shot "$about" about
key "$about" Escape

update() { # version file, picture name, key that answers
  answer "$1"
  key "$main" ctrl+u
  local box
  box="$(wait_window ':: Quenlar 1.3 ::' "$main")"
  shot "$box" "$2"
  key "$box" "$3"
}
update "1.4" update-newer n
update "1.3" update-none Return
update "<html><body>Not here</body></html>" update-unable Return

answer "silent"
key "$main" ctrl+u
sleep 2
shot "$main" update-checking # the caption while the fetch holds the window
box="$(wait_window ':: Quenlar 1.3 ::' "$main")"
shot "$box" update-timeout
key "$box" Return

key "$main" alt+F4
key "$(wait_window 'Exit Confirmation')" Return
