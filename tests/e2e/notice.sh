# shellcheck shell=bash
# The notice ahead of a schedule: a balloon over the tray icon, read from outside. Run by
# tests/e2e/run.sh, with the helpers of tests/e2e/lib.sh.

# "Notify Before" at 1 minute (from the settings file), Shutdown in 70 seconds from the
# window: ten seconds after Activate the balloon tells the time, the window staying on screen.
scenario_notice() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  local lines=("${kSettingsDefaults[@]}" "${kWhenDefaults[@]}" "${kLaterDefaults[@]}")
  lines[30]=1
  e2e_settings_text "${lines[@]}" >"$E2E_DIR/settings.qnl"
  e2e_start_main
  e2e_in "$E2E_MAIN" 70 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  local due got text
  due="$(date -d @$(($(date +%s) + 70)) +%H:%M)"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  got="$(drv balloon 30000)" || e2e_fail "no balloon came up within 30 s; the screen shows: $(drv list | tr '\n' ';')"
  text="$(sed -n 2p <<<"$got")"
  [[ "$text" =~ ^Shutdown\ in\ 1\ minute\ \($due(:[0-9]{2})?\)$ ]] || e2e_fail "the balloon reads \"$text\""
  e2e_expect_balloon "$text" notice-balloon 2000
  drv shown "$E2E_MAIN" 1000 || e2e_fail "the notice hid the window"
  e2e_click "$E2E_MAIN" Button "De&activate"
  e2e_wait_for "$E2E_MAIN" Button "&Activate"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "a request reached Windows: $(e2e_journal)"
  e2e_note "the balloon read from outside: \"$text\""
}
