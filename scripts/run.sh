#!/usr/bin/env bash
# Sets up the machine, builds quenlar.exe and starts it under Wine: the 32-bit edition where
# the host runs 32-bit code, otherwise the 64-bit one (QUENLAR_WINE_ARCH=32 or 64 chooses).
#
# With a reachable $DISPLAY the program runs there until it is closed. Without one it runs on
# a private Xvfb: once its window shows, a screenshot goes to build/screenshot.png and the
# program is closed.
#
#   QUENLAR_EXE=path/to/program.exe   run that program instead of building quenlar.exe
#   QUENLAR_WINE_TIMEOUT=seconds      time limit for the program (default one day)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
qw_program quenlar
exe="$QW_EXE"
[[ -f "$exe" ]] || { echo "error: $exe not found" >&2; exit 1; }
echo "Starting the $QW_ARCH-bit edition: $exe${QW_SKIPPED:+ (not the other: $QW_SKIPPED)}"
screenshot="$PWD/build/screenshot.png"
limit="${QUENLAR_WINE_TIMEOUT:-86400}"

trap qw_cleanup EXIT
trap 'exit 130' INT TERM
qw_prepare

if [[ -n "${DISPLAY:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  qw_start_server
  echo "Running $exe on display $DISPLAY"
  # stdin is /dev/null so that wine leaves the terminal alone.
  status=0
  qw_wine "$limit" "$exe" </dev/null || status=$?
  exit "$status"
fi

qw_start_xvfb
qw_start_server
qw_wine_bg "$limit" "$exe" </dev/null

# Wait up to 20 s for the main window to be mapped.
window=""
for ((i = 0; i < 200; i++)); do
  window="$(xdotool search --onlyvisible --name ':: Quenlar' 2>/dev/null | head -n 1 || true)"
  [[ -n "$window" ]] && break
  if ! kill -0 "$QW_PID" 2>/dev/null; then
    status=0
    wait "$QW_PID" || status=$?
    echo "error: $exe ended with exit code $status before showing its window" >&2
    exit 1
  fi
  sleep 0.1
done

[[ -n "$window" ]] && sleep 1.5 # the clock draws after the window shows
mkdir -p "$(dirname "$screenshot")"
import -window root "$screenshot"
echo "Screenshot of display $DISPLAY saved to $screenshot"
if [[ -z "$window" ]]; then
  echo "error: no visible window titled ':: Quenlar' after 20 s" >&2
  exit 1
fi
