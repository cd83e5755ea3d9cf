# shellcheck shell=bash
# Turning the display off: scheduled from the command line, and at once from the menu bar and
# the tray icon's pop-up. The journal edition writes the request instead of making it. Run by
# tests/e2e/run.sh, with the helpers of tests/e2e/lib.sh.

kDisplayRequest="DefWindowProcA(WM_SYSCOMMAND, SC_MONITORPOWER, 2)"

# /display /in 10s from a clean folder: the window shows the schedule with the seven options as
# they were, /status names it, and with no warning the display is turned off through the
# program's own window; nothing else reaches Windows, and the program ends with 0.
scenario_display_scheduled() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  qw_wine_bg 60 "$E2E_DIR/quenlar.exe" /display /in 10s </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
  local main
  main="$(drv find "$kTitle" QuenlarMain 20000)" || e2e_fail "the main window did not show"
  e2e_wait_for "$main" Button "De&activate"
  e2e_expect Button "&Shutdown" checked disabled
  cl_run /status
  [[ "$CL_OUT" =~ ^Turn\ Off\ the\ Display\ On\ [0-9]{2}-[A-Z][a-z]{2}-[0-9]{2}\ At\ [0-9:]{8}\ [AP]M\;\ [0-9]+\ seconds\ left\.$ ]] ||
    e2e_fail "/status wrote \"$CL_OUT\""
  e2e_expect_exit 20 "the display was turned off"
  [[ "$(e2e_journal)" == "$kDisplayRequest" ]] || e2e_fail "the journal holds: $(e2e_journal)"
  e2e_expect_settings_with
  e2e_note "/display /in 10s: /status \"$CL_OUT\"; the journal: $(e2e_journal); no warning; exit code 0"
}

# The menu bar's item by its access key, then the tray pop-up's clicked with the mouse: each
# turns the display off at once; nothing is activated and the program goes on.
scenario_display_menus() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  # F10 takes the menu bar and Down opens its first menu (Alt+M is the Alarm & Message option's).
  local popup
  e2e_keys "$E2E_MAIN" F10 Down
  popup="$(drv popup 3000)" || e2e_fail "F10 and Down opened no menu"
  xdotool key d
  drv gone "$popup" 3000 || e2e_fail "the menu stayed open after D"
  local i
  for ((i = 0; i < 25; i++)); do
    [[ -n "$(e2e_journal)" ]] && break
    sleep 0.2
  done
  [[ "$(e2e_journal)" == "$kDisplayRequest" ]] || e2e_fail "after the menu bar's item the journal holds: $(e2e_journal)"
  e2e_wait_for "$E2E_MAIN" Button "&Activate"

  e2e_click "$E2E_MAIN" Button "Mi&nimize to Tray"
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  e2e_tray_icon
  e2e_tray_choose 4
  for ((i = 0; i < 25; i++)); do
    [[ "$(e2e_journal | wc -l)" -ge 2 ]] && break
    sleep 0.2
  done
  [[ "$(e2e_journal)" == "$kDisplayRequest"$'\n'"$kDisplayRequest" ]] ||
    e2e_fail "after the pop-up's item the journal holds: $(e2e_journal)"
  e2e_expect_tray_tip "Quenlar 1.3 (NOT ACTIVE)"
  xdotool mousemove $((E2E_TRAY_X + E2E_TRAY_W / 2)) $((E2E_TRAY_Y + E2E_TRAY_H / 2)) click 1
  drv shown "$E2E_MAIN" 5000 || e2e_fail "a left click on the icon did not bring the window back"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_note "Menu, Turn Off the Display, and the tray pop-up's item: one request each; still idle"
}
