# shellcheck shell=bash
# "Activate When": a schedule that waits for a program to end or for the user to be away, armed
# from its window with the mouse and keyboard, and from the command line. Run by
# tests/e2e/run.sh, with the helpers of tests/e2e/lib.sh and tests/e2e/commandline.sh.

kWhenTitle="Activate When"

# Opens "Activate When" from the main window's menu by the keyboard (F10 takes the menu bar,
# Down opens its first menu, W the item); E2E_WHEN is the window.
when_open() {
  local popup
  e2e_keys "$E2E_MAIN" F10 Down
  popup="$(drv popup 3000)" || e2e_fail "F10 and Down opened no menu"
  xdotool key w
  drv gone "$popup" 3000 || e2e_fail "the menu stayed open after W"
  E2E_WHEN="$(drv find "$kWhenTitle" QuenlarForm 5000)" || e2e_fail "Activate When did not open"
}

# Sends the armed window to the tray with a click on its button: the icon's tip and the caption
# tell the condition.
when_to_tray() { # status
  e2e_click "$E2E_MAIN" Button "Mi&nimize to Tray"
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  e2e_expect_tray_tip "$1"
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$1" ]] || e2e_fail "the caption reads \"$(e2e_caption)\", not \"$1\""
}

# Waits up to 5 s for the tray icon's tip to read this (a change from a later copy comes a
# moment after that copy ends).
when_tray_tip() { # text
  local i tip
  for ((i = 0; i < 25; i++)); do
    tip="$(e2e_tray_tip)"
    [[ "$tip" != "$1" ]] || return 0
    sleep 0.2
  done
  e2e_fail "the tray icon's tip reads \"$tip\", not \"$1\""
}

# Starts the test suite's sleeper for so many seconds; SLEEPER_PID is its process.
when_sleeper() { # seconds
  qw_wine_bg 120 "$(dirname "$E2E_DRIVER")/sleeper.exe" "$1" </dev/null >>"$E2E_OUT/program.log" 2>&1
  SLEEPER_PID="$QW_PID"
  echo "$SLEEPER_PID" >>"$E2E_WORK/pids"
}

# Waits for the countdown warning; prints the seconds it took from the moment given.
when_warning_after() { # since timeout-s
  local i
  # In steps of 10 s: the driver itself has a minute at most.
  for ((i = 0; i < $2; i += 10)); do
    ! drv find " Warning!" QuenlarForm 10000 >/dev/null || break
  done
  ((i < $2)) || e2e_fail "no countdown warning within $2 s"
  printf '%.1f' "$(echo "$(date +%s.%N) - $1" | bc)"
}

# The journal edition armed from the window to shut down when sleeper.exe ends, typed by name:
# the window and the tray tell the condition, /status its progress, and the warning comes
# within two seconds of the program's end; then the shutdown, the saved choice and exit code 0.
scenario_when_program() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  when_sleeper 14
  e2e_start_main
  e2e_type_over "$E2E_MAIN" 30 3
  when_open
  e2e_dump "$E2E_WHEN"
  e2e_expect Button "A &program ends:" checked
  e2e_shot "$E2E_WHEN" when-window
  e2e_type_over "$E2E_WHEN" "" sleeper
  e2e_click "$E2E_WHEN" Button "&Activate"
  drv gone "$E2E_WHEN" 5000 || e2e_fail "Activate When stayed open after Activate"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  # The condition beside the clock, on two lines.
  e2e_expect Static 'sleeper.exe\r\nends'
  e2e_shot "$E2E_MAIN" when-armed
  when_to_tray "Shutdown When sleeper.exe ends"
  cl_expect /status 0 "Shutdown When sleeper.exe ends; sleeper.exe still running; the computer is kept awake."
  local ended took
  wait "$SLEEPER_PID" || e2e_fail "the sleeper failed"
  ended="$(date +%s.%N)"
  took="$(when_warning_after "$ended" 10)"
  (($(echo "$took <= 2" | bc))) || e2e_fail "the warning came $took s after the program ended"
  e2e_expect_exit 15 "the countdown"
  e2e_expect_request "ExitWindowsEx(1, 0)"
  local lines=("${kSettingsDefaults[@]}" "${kWhenDefaults[@]}")
  lines[13]=3 lines[19]=sleeper
  e2e_expect_settings "${lines[@]}"
  e2e_note "armed by the window; the warning came $took s after sleeper.exe ended; ExitWindowsEx(1, 0); exit code 0"
}

# Log Off after one minute without input: a mouse move half a minute in starts the minute
# afresh, and the warning comes a minute after that move, not before.
scenario_when_idle() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "&Log Off"
  e2e_type_over "$E2E_MAIN" 30 3
  when_open
  e2e_click "$E2E_WHEN" Button "&No input for"
  e2e_type_over "$E2E_WHEN" 30 1
  e2e_click "$E2E_WHEN" Button "&Activate"
  drv gone "$E2E_WHEN" 5000 || e2e_fail "Activate When stayed open after Activate"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  local armed
  armed="$(date +%s.%N)"
  when_to_tray "Log Off When 1 min without input"
  cl_expect /show 0 ""
  drv shown "$E2E_MAIN" 5000 || e2e_fail "/show did not bring the window back"
  sleep "$(echo "30 - ($(date +%s.%N) - $armed)" | bc)"
  cl_expect /status 0 "Log Off When 1 min without input; No input for 0 of 1 min; the computer is kept awake."
  local moved took xy
  xy="$(e2e_centre Button "De&activate")"
  # shellcheck disable=SC2086 # x and y
  xdotool mousemove $xy mousemove_relative 5 5
  moved="$(date +%s.%N)"
  took="$(when_warning_after "$moved" 70)"
  (($(echo "$took >= 59.5 && $took <= 62.5" | bc))) || e2e_fail "the warning came $took s after the last input, not 60"
  e2e_expect_exit 15 "the countdown"
  e2e_expect_request "ExitWindowsEx(0, 0)"
  e2e_note "the mouse moved 30 s in; the warning came $took s after it; ExitWindowsEx(0, 0)"
}

# The quiet conditions, which this shared host cannot drive (its processor is never its own,
# and Wine counts no network but the loopback): armed from the window and from the command
# line, told by the caption, the tray and /status, and cancelled. A program not running is
# refused with 1168.
scenario_when_quiet() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  when_open
  e2e_click "$E2E_WHEN" Button "P&rocessor below"
  e2e_click "$E2E_WHEN" Button "&Activate"
  drv gone "$E2E_WHEN" 5000 || e2e_fail "Activate When stayed open after Activate"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  when_to_tray "Shutdown When CPU < 10 % for 5 min"
  cl_run /status
  [[ "$CL_OUT" =~ ^Shutdown\ When\ CPU\ \<\ 10\ %\ for\ 5\ min\;\ CPU\ below\ 10\ %\ for\ [0-5]\ of\ 5\ min\;\ the\ computer\ is\ kept\ awake\.$ ]] ||
    e2e_fail "/status wrote \"$CL_OUT\""
  cl_expect /a 0 ""
  e2e_wait_for "$E2E_MAIN" Button "&Activate"
  when_tray_tip "Quenlar 1.3 (NOT ACTIVE)"
  cl_expect "/r /net 200:3" 0 ""
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  when_tray_tip "Restart When Net < 200 KB/s for 3 min"
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "Restart When Net < 200 KB/s for 3 min" ]] || e2e_fail "the caption reads \"$(e2e_caption)\""
  cl_run /status
  [[ "$CL_OUT" =~ ^Restart\ When\ Net\ \<\ 200\ KB/s\ for\ 3\ min\;\ Net\ below\ 200\ KB/s\ for\ [0-3]\ of\ 3\ min\;\ the\ computer\ is\ kept\ awake\.$ ]] || e2e_fail "/status wrote \"$CL_OUT\""
  cl_expect /a 0 ""
  e2e_wait_for "$E2E_MAIN" Button "&Activate"
  cl_expect "/s /whenexit nothing.exe" 1168 "No program named nothing.exe is running."
  cl_expect /show 0 ""
  drv shown "$E2E_MAIN" 5000 || e2e_fail "/show did not bring the window back"
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Activate"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_note "CPU armed by the window, the network by /r /net 200:3, each cancelled by /a; /whenexit nothing.exe: 1168"
}

# /whenexit names a program whose name and folder the ANSI code page cannot write (the suite's
# sleeper under another name); the journal edition, in that folder too, shuts down once it ends.
scenario_when_unicode_name() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL" "$E2E_WORK/$E2E_NAME/Музыка 音楽")"
  local name="слушать 音.exe"
  cp "$(dirname "$E2E_DRIVER")/sleeper.exe" "$E2E_DIR/$name"
  qw_wine_bg 120 "$E2E_DIR/$name" 8 </dev/null >>"$E2E_OUT/program.log" 2>&1
  SLEEPER_PID="$QW_PID"
  echo "$SLEEPER_PID" >>"$E2E_WORK/pids"
  sleep 2  # in the process list by now
  qw_wine_bg 60 "$E2E_DIR/quenlar.exe" /s /whenexit "$name" /w 3 </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
  sleep 3
  # A name it could not match would have ended it at once, with 1168.
  e2e_running || e2e_fail "the program ended before $name did"
  # A later copy asks, and writes the running one's answer in UTF-8 to the pipe.
  # Straight from Wine: cmd would read a batch file's path in its own code page.
  CL_OUT="$(qw_wine 30 "$E2E_DIR/quenlar.exe" /status </dev/null 2>>"$E2E_OUT/program.log" | tr -d '\r' | sed '/^$/d')" || true
  [[ "$CL_OUT" == "Shutdown When $name ends; $name still running; the computer is kept awake." ]] ||
    e2e_fail "/status wrote \"$CL_OUT\""
  [[ -z "$(e2e_journal)" ]] || e2e_fail "the journal holds, before $name ended: $(e2e_journal)"
  local ended took
  wait "$SLEEPER_PID" || e2e_fail "the sleeper failed"
  ended="$(date +%s.%N)"
  took="$(when_warning_after "$ended" 10)"
  e2e_expect_exit 15 "the countdown"
  e2e_expect_request "ExitWindowsEx(1, 0)"
  e2e_note "/whenexit \"$name\" from Музыка 音楽: the warning came $took s after it ended; ExitWindowsEx(1, 0)"
}
