# shellcheck shell=bash
# The notice ahead of a schedule: a balloon over the tray icon, read from outside.
#
# Not in the run's list yet: it needs the notice the schedule gives N minutes before its
# moment. To run it, give the program a moment a little more than N minutes ahead with the
# notice set to N (the menu or the settings file, as that feature offers), then call
# e2e_expect_balloon with the text the controller writes, as below.
scenario_notice() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  # Here: set the notice and a moment just beyond it, and activate.
  e2e_expect_balloon "Shutdown in 1 minutes (23:00)" notice-balloon 70000
  drv shown "$E2E_MAIN" 1000 || e2e_fail "the notice hid the window"
  e2e_note "the notice's balloon came up over the icon while the window stayed on screen"
}
