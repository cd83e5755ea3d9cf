# shellcheck shell=bash
# A schedule that repeats, chosen with the mouse in the Repeat window for a moment 10 s ahead
# typed into the At picker: the warning comes, Cancel, and the program stays with tomorrow's
# target. Run by tests/e2e/run.sh, with the helpers of tests/e2e/lib.sh.

# Types a time of day into the main window's At picker, field by field from its hour, as the
# keyboard does: a click on the hour, two digits a field, Right to the next, A or P last.
repeat_type_time() { # epoch-seconds
  local x y w h
  e2e_dump "$E2E_MAIN"
  IFS=, read -r x y w h <<<"$(awk -F'\t' '$1 == "SysDateTimePick32" {print $4; exit}' <<<"$E2E_DUMP")"
  [[ -n "$x" ]] || e2e_fail "no At picker in the main window"
  xdotool mousemove $((x + 10)) $((y + h / 2)) click 1
  sleep 0.3
  xdotool type --delay 60 "$(date -d "@$1" +%I)"
  xdotool key Right
  xdotool type --delay 60 "$(date -d "@$1" +%M)"
  xdotool key Right
  xdotool type --delay 60 "$(date -d "@$1" +%S)"
  xdotool key Right
  xdotool type --delay 60 "$(date -d "@$1" +%p | cut -c1)"
}

scenario_repeat() {
  # Activating a repeating schedule ticks Start with Windows: its entry goes with the scenario.
  startwin_remove
  trap startwin_remove EXIT
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  local window warning due target
  # Alt+M is the Alarm's option: the menu is opened with the mouse, its item by its letter.
  local xy popup
  e2e_watch
  xy="$(drv menubar "$E2E_MAIN" "&Menu")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1
  popup="$(drv popup 3000)" || e2e_fail "a click on Menu in the menu bar opened no menu"
  e2e_shot "$popup" menu-menu
  xdotool key r
  drv gone "$popup" 3000 || e2e_fail "the menu stayed open after R"
  window="$(drv find "Repeat" QuenlarForm 5000)" || e2e_fail "Menu, Repeat... opened no Repeat window"
  e2e_check "$window" "&Every day"
  e2e_shot "$window" repeat
  e2e_click "$window" Button "OK"
  drv gone "$window" 5000 || e2e_fail "the Repeat window stayed after OK"
  e2e_wait_for "$E2E_MAIN" Button "At" checked
  # Settings, Notify Before...: its window shows the repeat's notice of 5 minutes; Esc leaves it.
  xy="$(drv menubar "$E2E_MAIN" "&Menu" "Se&ttings")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1
  popup="$(drv popup 3000)" || e2e_fail "a click on Settings in the menu bar opened no menu"
  e2e_shot "$popup" settings-menu
  xdotool key n
  window="$(drv find "Notify Before" QuenlarForm 5000)" || e2e_fail "Settings, Notify Before... opened no window"
  e2e_dump "$window"
  e2e_expect Edit "5"
  e2e_shot "$window" notify-before
  e2e_keys "$window" Escape
  drv gone "$window" 5000 || e2e_fail "Esc left the Notify Before window open"
  due=$(($(date +%s) + 12))
  repeat_type_time "$due"
  e2e_click "$E2E_MAIN" Button "&Activate"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  warning="$(drv find "$kWarningTitle" QuenlarForm 20000)" || e2e_fail "no warning within 20 s of a moment 12 s ahead"
  e2e_click "$warning" Button "Cancel"
  e2e_expect_box "Action SHUTDOWN, has been cancelled by the user!   "
  e2e_answer OK
  drv shown "$E2E_MAIN" 5000 || e2e_fail "the main window did not come back after the cancel"
  e2e_running || e2e_fail "the program ended after the cancel of a repeating schedule"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  target="$(date -d "@$((due + 86400))" +'%d %b %Y' | tr '[:lower:]' '[:upper:]')\\r\\n$(date -d "@$due" +'%I:%M:%S %p')"
  e2e_expect Static "$target"
  e2e_shot "$E2E_MAIN" main-repeat
  [[ -n "$(startwin_entry)" ]] || e2e_fail "the repeating schedule left Start with Windows unticked"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "a request reached Windows: $(e2e_journal)"
  e2e_click "$E2E_MAIN" Button "De&activate"
  e2e_wait_for "$E2E_MAIN" Button "&Activate"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_note "Every day chosen with the mouse; the warning cancelled, the program stayed with tomorrow's target ${target//\\r\\n/ }"
}
