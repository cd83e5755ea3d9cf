# shellcheck shell=bash
# The program as a user runs it: each function is one scenario, run by tests/e2e/run.sh in a
# shell of its own with the helpers of tests/e2e/lib.sh.

# quenlar.exe itself: the defaults of a first start, the running clock, the exit question
# answered No (the program goes on) and then Yes (it ends and writes its default lines).
scenario_first_start() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$kTitle" ]] || e2e_fail "the caption is \"$(e2e_caption)\""
  e2e_expect Button "&Shutdown" checked
  e2e_expect Button "&Forced Action" '!checked'
  e2e_expect Button "In" checked
  e2e_expect Edit "1"
  e2e_expect ComboBox "Hours"
  e2e_expect Edit "30"
  e2e_expect Edit "Select File..." disabled
  # Wine's power management offers no stand-by; the NT family offers locking.
  e2e_expect Button "Stand &by" disabled
  e2e_expect Button "Lock &Computer" '!disabled'
  e2e_shot "$E2E_MAIN" first-start
  first_start_alarm_panel() {
    e2e_expect Edit "Type your Message text here"
    e2e_expect Button "Play Audio (Alarm) :" '!checked'
  }
  e2e_with_alarm_panel "&Shutdown" first_start_alarm_panel
  local clock
  clock="$(awk -F'\t' '$1 == "Static" && $2 ~ /[AP]M$/ {print $2; exit}' <<<"$E2E_DUMP")"
  [[ "$clock" =~ ^[0-9]{2}\ [A-Z]{3}\ [0-9]{4}\\r\\n[0-9]{2}:[0-9]{2}:[0-9]{2}\ [AP]M$ ]] ||
    e2e_fail "the clock reads \"$clock\""
  sleep 1.2
  e2e_dump "$E2E_MAIN"
  [[ -z "$(e2e_line Static "$clock")" ]] || e2e_fail "the clock stood still at \"$clock\" for 1.2 s"
  e2e_note "defaults shown, the clock runs"

  e2e_keys "$E2E_MAIN" alt+F4
  e2e_expect_box "Are you sure, you want to Exit?    " "Exit Confirmation"
  e2e_answer "&No"
  drv shown "$E2E_MAIN" 1000 || e2e_fail "the main window went after No"
  e2e_running || e2e_fail "the program ended after No"
  [[ ! -e "$E2E_DIR/settings.qnl" ]] || e2e_fail "a refused close wrote the settings file"
  e2e_close_confirmed
  e2e_expect_exit 10 "Yes to the exit question"
  e2e_expect_settings "${kSettingsDefaults[@]}"
  e2e_note "No kept it running; Yes ended it and saved the default lines"
}

# quenlar.exe itself: "Exit without Confirmation" ticked from the keyboard, then Ctrl+X ends
# the program at once, with the tick saved.
scenario_exit_without_confirmation() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_menu "$E2E_MAIN" t c
  e2e_keys "$E2E_MAIN" ctrl+x
  e2e_expect_exit 10 "Ctrl+X with Exit without Confirmation ticked"
  e2e_expect_settings_with 11=True
  e2e_note "Ctrl+X ended it with no question; line 12 reads True"
}

# quenlar.exe itself: a second copy says "Quenlar is already Running!   " and ends without
# touching the settings file, while the first goes on.
scenario_second_copy() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  local first="$E2E_PID" first_main="$E2E_MAIN"
  e2e_start
  e2e_expect_box "Quenlar is already Running!   "
  e2e_shot "$E2E_BOX" second-copy
  e2e_answer OK
  e2e_expect_exit 10 "OK to the second copy's message"
  [[ ! -e "$E2E_DIR/settings.qnl" ]] || e2e_fail "the second copy wrote the settings file"
  E2E_PID="$first"
  E2E_MAIN="$first_main"
  e2e_running || e2e_fail "the first copy ended too"
  drv shown "$E2E_MAIN" 1000 || e2e_fail "the first copy's window went"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing the first copy"
  e2e_note "the second copy was refused and ended; the first ran on"
}

# A forced Restart "In" 5 "Seconds" with a countdown of 3: the warning counts down and the
# journal shows the shutdown privilege on, ExitWindowsEx(6, 0), the privilege off; the settings
# are saved and the program ends.
scenario_forced_restart() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "&Restart"
  e2e_check "$E2E_MAIN" "&Forced Action"
  e2e_type_over "$E2E_MAIN" 30 3
  e2e_in "$E2E_MAIN" 5 Seconds
  e2e_expect Button "&Restart" checked
  e2e_expect Button "&Forced Action" checked
  local activated shown ended warning
  e2e_click "$E2E_MAIN" Button "&Activate"
  activated="$(date +%s.%N)"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  warning="$(drv find " Warning!" QuenlarForm 15000)" || e2e_fail "no countdown warning within 15 s of Activate"
  shown="$(date +%s.%N)"
  e2e_dump "$warning"
  [[ "$(e2e_caption)" == " Warning!" ]] || e2e_fail "the warning is captioned \"$(e2e_caption)\""
  grep -qE $'^Static\tAction : Restart will be performed in [123] Seconds\\.\t' <<<"$E2E_DUMP" ||
    e2e_fail "the warning says: $(grep ^Static <<<"$E2E_DUMP" | cut -f2)"
  e2e_expect Button Cancel
  drv gone "$E2E_MAIN" 100 || e2e_fail "the main window stayed on screen with the warning"
  e2e_shot "$warning" forced-restart-warning
  e2e_expect_exit 15 "the countdown"
  ended="$(date +%s.%N)"
  local journal
  journal="$(e2e_journal)"
  [[ "$journal" == 'OpenProcessToken(0x28) = 1
LookupPrivilegeValueA("", "SeShutdownPrivilege") = 1
AdjustTokenPrivileges(SeShutdownPrivilege on) = 1
ExitWindowsEx(6, 0)
OpenProcessToken(0x28) = 1
LookupPrivilegeValueA("", "SeShutdownPrivilege") = 1
AdjustTokenPrivileges(SeShutdownPrivilege off) = 1' ]] || e2e_fail "the journal holds:
$journal"
  e2e_expect_settings_with 0=False 1=True 7=1 13=3
  local fired counted
  fired="$(echo "$shown - $activated" | bc)"
  counted="$(echo "$ended - $shown" | bc)"
  (($(echo "$fired > 3.5 && $fired < 8" | bc))) || e2e_fail "the warning came $fired s after Activate, not about 5 s"
  (($(echo "$counted > 2 && $counted < 6" | bc))) || e2e_fail "the countdown of 3 s took $counted s"
  e2e_note "warning after $(printf '%.1f' "$fired") s, action $(printf '%.1f' "$counted") s later: privilege on, ExitWindowsEx(6, 0), privilege off; settings saved"
}

# The same schedule, not forced, with a countdown of 10, cancelled with Esc: the cancel
# message, no power request, the settings saved, the program ended.
scenario_countdown_cancelled() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "&Restart"
  e2e_type_over "$E2E_MAIN" 30 10
  e2e_in "$E2E_MAIN" 5 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  local warning
  warning="$(drv find " Warning!" QuenlarForm 15000)" || e2e_fail "no countdown warning within 15 s of Activate"
  e2e_keys "$warning" Escape
  e2e_expect_box "Action RESTART, has been cancelled by the user!   "
  drv gone "$warning" 100 || e2e_fail "the warning stayed on screen with the cancel message"
  e2e_shot "$E2E_BOX" countdown-cancelled
  e2e_answer OK
  e2e_expect_exit 10 "OK to the cancel message"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "a cancelled countdown journaled: $(e2e_journal)"
  e2e_expect_settings_with 0=False 1=True 13=10
  e2e_note "Esc cancelled with its message; nothing requested of Windows; settings saved"
}

# Alarm & Message with a WAV chosen in the file-open dialog and a typed message: the alarm
# window shows the message and names the file it plays on Wine's silent sound device, its path
# in the status bar's tip; Close saves the settings and ends the program.
scenario_alarm() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  local wav="$E2E_DIR/chime.wav"
  python3 -c "import sys, wave
w = wave.open(sys.argv[1], 'wb'); w.setnchannels(1); w.setsampwidth(2); w.setframerate(8000)
w.writeframes(bytes(2 * 8000 * 2)); w.close()" "$wav"
  e2e_start_main
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  e2e_click "$E2E_MAIN" Button "Play Audio (Alarm) :"  # opens the dialog: the box waits for it
  local dialog
  dialog="$(drv find "Select Media File for Alarm" "#32770" 10000)" || e2e_fail "ticking Play Audio opened no file dialog"
  e2e_keys "$dialog"
  xdotool type --delay 20 "$(e2e_winpath "$wav")"
  xdotool key Return
  drv gone "$dialog" 5000 || e2e_fail "the file dialog stayed open"
  e2e_type_over "$E2E_MAIN" "Type your Message text here" "Tea is ready"
  e2e_expect Edit "$(e2e_winpath "$wav")"
  e2e_expect Button "Play Audio (Alarm) :" checked
  local alarm
  alarm_in_five_seconds
  alarm="$E2E_ALARM"
  e2e_dump "$alarm"
  e2e_expect Static "Tea is ready"
  e2e_expect_panels "$alarm" "File to Play : chime.wav"
  e2e_expect_tip "$alarm" "File Path = $(e2e_winpath "$wav")"
  e2e_shot "$alarm" alarm
  drv click "$alarm" Close >/dev/null || e2e_fail "the alarm window has no Close button"
  e2e_expect_exit 10 "Close in the alarm window"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "the alarm journaled: $(e2e_journal)"
  e2e_expect_settings_with 0=False 6=True 9=1 "16=$(e2e_winpath "$wav")" "17=Tea is ready"
  e2e_note "the alarm showed the message and played chime.wav, its path in the tip; Close saved and ended"
}

# Activates the alarm chosen in the main window "In 5 Seconds" and waits for its window, which
# must have loaded its media file; the window in E2E_ALARM.
alarm_in_five_seconds() {
  e2e_in "$E2E_MAIN" 5 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  E2E_ALARM="$(drv find ":: Quenlar 1.3 - Alarm ::" QuenlarForm 15000)" || e2e_fail "no alarm window within 15 s of Activate"
  sleep 0.5 # a media file that fails to load shows its message at once
  if drv find "Media File Not Loaded" "#32770" 100 >/dev/null; then e2e_fail "the alarm says Media File Not Loaded"; fi
}

# Picks a file in the dialog the click opened by pasting its path into the name box: Wine
# drops some of the characters xdotool types there.
pick_in_dialog() { # title path
  local dialog clip
  dialog="$(drv find "$1" "#32770" 10000)" || e2e_fail "no file dialog \"$1\""
  command -v xclip >/dev/null || e2e_fail "xclip is needed to paste a path"
  printf '%s' "$(e2e_winpath "$2")" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
  clip=$!
  sleep 0.3
  e2e_keys "$dialog" ctrl+v
  sleep 0.3
  kill "$clip" 2>/dev/null && wait "$clip" 2>/dev/null || true
  xdotool key Return
  drv gone "$dialog" 5000 || e2e_fail "the file dialog stayed open"
}

# A folder, a media file and a program whose names the ANSI code page cannot write, each file
# picked in the file dialog: the alarm window names the media file and its path, the settings
# keep both whole, and the next run starts the program before the shutdown.
scenario_alarm_unicode() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL" "$E2E_WORK/$E2E_NAME/Музыка 音楽")"
  local wav="$E2E_DIR/слушать 音.wav" program="$E2E_DIR/запуск 音.bat"
  python3 -c "import sys, wave
w = wave.open(sys.argv[1], 'wb'); w.setnchannels(1); w.setsampwidth(2); w.setframerate(8000)
w.writeframes(bytes(2 * 8000 * 2)); w.close()" "$wav"
  printf '@rem\r\n' >"$program"
  e2e_start_main
  e2e_click "$E2E_MAIN" Button "&Execute file before action :"
  pick_in_dialog "Select File to be Executed" "$program"
  e2e_wait_for "$E2E_MAIN" Edit "$(e2e_winpath "$program")"
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  e2e_click "$E2E_MAIN" Button "Play Audio (Alarm) :"
  pick_in_dialog "Select Media File for Alarm" "$wav"
  e2e_wait_for "$E2E_MAIN" Edit "$(e2e_winpath "$wav")"
  local alarm
  alarm_in_five_seconds
  alarm="$E2E_ALARM"
  e2e_expect_panels "$alarm" "File to Play : слушать 音.wav"
  e2e_expect_tip "$alarm" "File Path = $(e2e_winpath "$wav")"
  e2e_shot "$alarm" alarm-unicode
  drv click "$alarm" Close >/dev/null || e2e_fail "the alarm window has no Close button"
  e2e_expect_exit 10 "Close in the alarm window"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "the alarm journaled: $(e2e_journal)"
  # Lines 16 and 17 hold the code page's best fit, the paths follow whole.
  local file="$E2E_DIR/settings.qnl"
  grep -qaF "UTF-8:16:$(e2e_winpath "$program")"$'\r' "$file" || e2e_fail "no whole program path in $(tr -d '\r' <"$file" | tr '\n' '|')"
  grep -qaF "UTF-8:17:$(e2e_winpath "$wav")"$'\r' "$file" || e2e_fail "no whole media path in $(tr -d '\r' <"$file" | tr '\n' '|')"

  e2e_start_main
  e2e_dump "$E2E_MAIN"
  e2e_expect Edit "$(e2e_winpath "$program")"
  e2e_check "$E2E_MAIN" "&Shutdown"
  e2e_type_over "$E2E_MAIN" 30 3
  e2e_in "$E2E_MAIN" 2 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  e2e_expect_exit 20 "the countdown"
  [[ "$(e2e_journal | grep ShellExecute)" == "ShellExecuteA(0, \"Open\", \"$(e2e_winpath "$program")\", \"\", \"\", 0)" ]] ||
    e2e_fail "the journal holds: $(e2e_journal)"
  e2e_expect_request "ExitWindowsEx(1, 0)"
  e2e_note "in Музыка 音楽: слушать 音.wav played by the alarm, запуск 音.bat started before the shutdown of the next run"
}

# Minimize to Tray with no schedule active: the icon's tip says so, and a left click on the
# icon brings the window back. "Minimize to Tray on Activation": Activate hides the window into
# the tray, the icon's tip is the window's caption, which names the schedule; a right click
# opens the pop-up, whose Exit asks the active-schedule question; Yes ends the program without
# acting.
scenario_tray() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  drv click "$E2E_MAIN" "Mi&nimize to Tray" >/dev/null
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  e2e_expect_tray_tip "Quenlar 1.3 (NOT ACTIVE)"
  local tray icon x y w h
  tray="$(drv find "Wine System Tray" "*" 5000)" || e2e_fail "no tray icon"
  e2e_dump "$tray"
  icon="$(awk -F'\t' '$1 == "__winex11_tray_icon" {print $4; exit}' <<<"$E2E_DUMP")"
  [[ -n "$icon" ]] || e2e_fail "the tray holds no icon"
  IFS=, read -r x y w h <<<"$icon"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  drv shown "$E2E_MAIN" 5000 || e2e_fail "a left click on the icon did not bring the window back"
  e2e_note "not active: the tip says so; a left click on the icon restored the window"

  e2e_menu "$E2E_MAIN" t m
  e2e_click "$E2E_MAIN" Button "&Activate"
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Activate left the window on screen with Minimize to Tray on Activation ticked"
  local tip
  tip="$(e2e_tray_tip)"
  e2e_shot "$tray" tray-icon
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  drv shown "$E2E_MAIN" 5000 || e2e_fail "a left click on the icon did not bring the window back"
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "Shutdown On "* ]] || e2e_fail "the restored window's caption is \"$(e2e_caption)\""
  [[ "$tip" == "$(e2e_caption)" ]] || e2e_fail "the icon's tip read \"$tip\", the window's caption is \"$(e2e_caption)\""
  e2e_note "hidden on Activate, the tip \"$tip\"; a left click on the icon restored it, still active"

  drv click "$E2E_MAIN" "Mi&nimize to Tray" >/dev/null
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
  local popup px py pw ph
  popup="$(drv popup 5000)" || e2e_fail "a right click on the icon opened no pop-up menu"
  e2e_dump "$popup"
  IFS=, read -r px py pw ph <<<"$(head -n 1 <<<"$E2E_DUMP" | cut -f4)"
  import -window root -crop "$((pw + 40))x$((ph + 40))+$((px - 20))+$((py - 20))" +repage "$E2E_OUT/tray-popup.png"
  # Show, Deactivate, Activate When, Turn Off the Display, Exit: the last of five rows.
  xdotool mousemove $((px + pw / 2)) $((py + ph * 9 / 10)) click 1
  e2e_expect_box "Quenlar is currenty Active. Do you want to Deactivate it?   "
  e2e_answer "&Yes"
  e2e_expect_exit 10 "Yes to the active-schedule question"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "ending an active schedule journaled: $(e2e_journal)"
  e2e_expect_settings_with 12=True
  e2e_note "the pop-up's Exit asked the active-schedule question; Yes ended it without acting"
}

# A settings file from a previous run with every choice away from its default: the window
# shows each one, closing asks nothing (the stored tick), and the file written on exit is the
# same, byte for byte.
scenario_previous_settings() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  local wav="$E2E_DIR/bell.wav" exec="C:\\Tools\\backup.bat"
  printf 'RIFF' >"$wav"
  local stored=(False False True False False False False 1 1 1 False True True 12 2500
    "$exec" "$(e2e_winpath "$wav")" "Tea & biscuits")
  e2e_settings_text "${stored[@]}" >"$E2E_DIR/settings.qnl"
  e2e_start_main
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Log Off" checked
  e2e_expect Button "&Shutdown" '!checked'
  e2e_expect Button "&Forced Action" checked
  e2e_expect Button "&Execute file before action :" checked
  e2e_expect Edit "$exec" '!disabled'
  e2e_expect Edit "12"
  e2e_shot "$E2E_MAIN" previous-settings
  previous_alarm_panel() {
    e2e_expect Button "Play Audio (Alarm) :" checked
    e2e_expect Edit "$(e2e_winpath "$wav")"
    e2e_expect Edit "Tea & biscuits"
  }
  e2e_with_alarm_panel "&Log Off" previous_alarm_panel
  # The beep's frequency (2500) shows in no window until its own is opened; the file written on
  # exit has it back.
  e2e_keys "$E2E_MAIN" alt+F4
  e2e_expect_exit 10 "a close with Exit without Confirmation stored"
  e2e_expect_settings "${stored[@]}"
  e2e_note "every stored choice shown; the file written on exit is the one read"
}

# The update check against a site served here: a newer version offers its page (Yes opens it,
# which the journal shows), the same version says there is none, and no site says so too.
scenario_update_check() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  local site="$E2E_WORK/site" answer="$E2E_WORK/site/answer" requests="$E2E_WORK/site/requests"
  mkdir -p "$site"
  printf '1.4\r\n' >"$answer"
  : >"$requests"
  python3 "$here/../../tools/standin-site.py" "$E2E_PORT" "$answer" "$requests" >"$E2E_OUT/site.log" 2>&1 &
  local server=$!
  echo "$server" >>"$E2E_WORK/pids"
  local i
  for ((i = 0; i < 50; i++)); do
    python3 -c "import socket, sys; socket.create_connection(('127.0.0.1', int(sys.argv[1])), 0.2)" "$E2E_PORT" \
      2>/dev/null && break
    kill -0 "$server" 2>/dev/null || e2e_fail "the stand-in site could not listen on port $E2E_PORT: $(cat "$E2E_OUT/site.log")"
    sleep 0.1
  done

  e2e_start_main
  e2e_keys "$E2E_MAIN" ctrl+u
  e2e_expect_box "There is a update to version 1.4 is available!    \\rDo you want to download it now?"
  e2e_shot "$E2E_BOX" update-newer
  e2e_answer "&Yes"
  [[ "$(cat "$requests")" == "/product/qnl_curver.txt" ]] || e2e_fail "the site was asked for: $(cat "$requests")"
  [[ "$(e2e_journal)" == "ShellExecuteA(0, \"Open\", \"http://127.0.0.1:$E2E_PORT/product/qnl.html\", \"\", \"\", 3)" ]] ||
    e2e_fail "Yes to the newer version journaled: $(e2e_journal)"
  e2e_note "1.4 on the site: the offer, and Yes opens /product/qnl.html maximised"

  printf '1.3' >"$answer"
  e2e_keys "$E2E_MAIN" ctrl+u
  e2e_expect_box "Sorry, No new updates are available!     "
  e2e_answer OK
  kill "$server"
  wait "$server" 2>/dev/null || true
  e2e_keys "$E2E_MAIN" ctrl+u
  e2e_box
  [[ "$E2E_BOX_TEXT" == "Unable to get update information."* ]] || e2e_fail "with no site the message reads \"$E2E_BOX_TEXT\""
  e2e_answer OK
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$kTitle" ]] || e2e_fail "after the checks the caption is \"$(e2e_caption)\""
  e2e_note "1.3: no new updates; no site: unable to get update information"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing after the update checks"
}

# The crash watch itself: crasher.exe, built beside the driver, writes through a null pointer a
# second after its window shows. A step waiting on its window must fail, saying it crashed.
# shellcheck disable=SC2030,SC2031 # the step runs under a name of its own, in a subshell
scenario_crash_watch() {
  local crasher out i
  crasher="$(dirname "$E2E_DRIVER")/crasher.exe"
  [[ -f "$crasher" ]] || e2e_fail "no $crasher; it is built with the driver"
  qw_wine_bg 30 "$crasher" </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
  out="$( (
    E2E_NAME="$E2E_NAME-crasher"
    window="$(drv find ":: Crasher ::" Crasher 10000)" || e2e_fail "the crasher's window did not show"
    e2e_wait_for "$window" Button "&Close"
  ) 2>&1)" && e2e_fail "the wait went on after the crash"
  # Seen by the driver (winedbg's console on screen) or in the crasher's error output.
  out="$(head -n 1 <<<"$out")"
  [[ "$out" == "FAILED: scenario $E2E_NAME-crasher: the program crashed: "* ]] ||
    e2e_fail "the crash was not reported as one: $out"
  wait "$E2E_PID" || true
  # That crash was meant: the watch at the scenario's end looks past it, once winedbg is done.
  # shellcheck disable=SC2034 # read by e2e_crash
  E2E_LOG_FROM="$(stat -c %s "$E2E_OUT/program.log")"
  for ((i = 0; i < 50; i++)); do
    e2e_crash >/dev/null || break
    sleep 0.1
  done
  e2e_note "a crash while waiting on its window failed the step: ${out#*-crasher: }"
}
