# shellcheck shell=bash
# "Start with Windows" in the Settings menu, clicked with the mouse: the entry in the user's own
# Run key, read back with Wine's `reg query`. Run by tests/e2e/run.sh, with the helpers of
# tests/e2e/lib.sh. The prefix lasts from run to run: the scenario leaves no entry behind.

kRunKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The entry's line as `reg query` prints it ("Quenlar    REG_SZ    ..."), or nothing.
startwin_entry() {
  qw_wine 60 reg query "$kRunKey" /v Quenlar 2>/dev/null </dev/null | tr -d '\r' | grep '^ *Quenlar ' || true
}
startwin_remove() { qw_wine 60 reg delete "$kRunKey" /v Quenlar /f >/dev/null 2>&1 </dev/null || true; }

# Opens the Settings menu with a click on the menu bar and clicks its "Start with Windows".
startwin_click() {
  local xy popup px py pw ph row
  e2e_watch
  xy="$(drv menubar "$E2E_MAIN" "&Menu" "Se&ttings")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1
  popup="$(drv popup 3000)" || e2e_fail "a click on Settings in the menu bar opened no menu"
  e2e_dump "$popup"
  IFS=, read -r px py pw ph <<<"$(head -n 1 <<<"$E2E_DUMP" | cut -f4)"
  # Nine items and two separators, each of those half an item high, inside a border of three
  # pixels; "Start with Windows" is above "Notify Before..." and a separator, the last item.
  row=$(((ph - 6) / 10))
  xdotool mousemove $((px + pw / 2)) $((py + ph - 3 - 3 * row)) click 1
  drv gone "$popup" 3000 || e2e_fail "the Settings menu stayed open"
}

# Waits up to 5 s for the entry to read as wanted ("" for none); prints it.
startwin_wait() { # wanted
  local i entry
  for ((i = 0; i < 10; i++)); do
    entry="$(startwin_entry)"
    [[ "$entry" == "$1" ]] && break
    sleep 0.3
  done
  echo "$entry"
}

scenario_startwin() {
  startwin_remove
  trap startwin_remove EXIT
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  local wanted entry
  wanted="    Quenlar    REG_SZ    \"$(e2e_winpath "$E2E_DIR")\\quenlar.exe\" /startup"
  startwin_click
  entry="$(startwin_wait "$wanted")"
  [[ "$entry" == "$wanted" ]] || e2e_fail "after the first click the Run key reads \"$entry\", not \"$wanted\""
  startwin_click
  entry="$(startwin_wait "")"
  [[ -z "$entry" ]] || e2e_fail "after the second click the Run key still reads \"$entry\""
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "the registry's writes journaled: $(e2e_journal)"
  e2e_note "ticked with the mouse, the Run key read \"${wanted#    }\"; unticked, no entry"
}
