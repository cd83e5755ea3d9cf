#!/usr/bin/env bash
# The real quenlar.exe under Wine, end to end: it shows ":: Quenlar 1.3 ::" with a running
# clock; a second start shows its message box and ends while the first goes on; closing the
# first asks, and saves the settings file beside the program.
#
#   tests/win32/program_test.sh path/to/quenlar.exe
set -euo pipefail
exe="$(realpath "$1")"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
cp "$exe" "$work/quenlar.exe"

source "$root/tools/wine/env.sh"
trap 'qw_cleanup; rm -rf "$work"' EXIT
qw_use "$(qw_exe_arch "$exe")"
qw_prepare
qw_start_xvfb
qw_start_server

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Waits for a visible window with this title other than the ones given; prints its id.
wait_window() { # title [ids to skip...]
  local title="$1" id
  shift
  for ((i = 0; i < 200; i++)); do
    for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null || true); do
      [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
snapshot() { # window file
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$2"
}

qw_wine_bg 120 "$work/quenlar.exe" </dev/null
first_pid=$QW_PID
main="$(wait_window ':: Quenlar 1.3 ::')" || fail "the main window did not show"
[[ "$(xdotool getwindowname "$main")" == ":: Quenlar 1.3 ::" ]] || fail "caption is $(xdotool getwindowname "$main")"
echo "main window shown with the caption :: Quenlar 1.3 ::"

sleep 0.3
snapshot "$main" "$work/clock1.png"
sleep 1.2
snapshot "$main" "$work/clock2.png"
changed="$(compare -metric AE "$work/clock1.png" "$work/clock2.png" null: 2>&1 || true)"
[[ "${changed%% *}" -gt 0 ]] || fail "the clock did not move"
echo "the clock runs ($changed pixels changed in 1.2 s)"

qw_wine_bg 60 "$work/quenlar.exe" </dev/null
second_pid=$QW_PID
box="$(wait_window ':: Quenlar 1.3 ::' "$main")" || fail "the second copy showed no message"
eval "$(xdotool getwindowgeometry --shell "$box")"
echo "the second copy shows a ${WIDTH}x${HEIGHT} message box titled :: Quenlar 1.3 ::"
[[ -n "${QUENLAR_SHOT:-}" ]] && snapshot "$box" "$QUENLAR_SHOT"
xdotool windowfocus "$box" key Return
for ((i = 0; i < 100; i++)); do
  kill -0 "$second_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$second_pid" 2>/dev/null && fail "the second copy did not end"
status=0
wait "$second_pid" || status=$?
[[ $status -eq 0 ]] || fail "the second copy ended with exit code $status"
kill -0 "$first_pid" 2>/dev/null || fail "the first copy ended too"
[[ ! -e "$work/settings.qnl" ]] || fail "the second copy wrote the settings file"
echo "the second copy ended after its message; the first runs on; no settings written"

xdotool windowfocus "$main" key alt+F4 # a close request, as from the close box
question="$(wait_window 'Exit Confirmation')" || fail "closing did not ask"
xdotool windowfocus "$question" key Return # Yes is the default button
for ((i = 0; i < 100; i++)); do
  kill -0 "$first_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$first_pid" 2>/dev/null && fail "the program did not end after Yes"
expected=$'True\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\n0\r\n0\r\n0\r\nTrue\r\nFalse\r\nFalse\r\n30\r\n4000\r\nSelect File...\r\nSelect File...\r\nType your Message text here\r\n'
[[ "$(cat "$work/settings.qnl")" == "${expected%$'\n'}" ]] || fail "settings.qnl holds: $(od -c "$work/settings.qnl" | head)"
echo "closing asked Exit Confirmation; Yes ended the program and saved the 18 default lines"
