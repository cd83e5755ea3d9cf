# shellcheck shell=bash
# Details a user meets, each as a scenario run by tests/e2e/run.sh: an "&" in the alarm's
# message, the alarm window's width for a short message, typing numbers and the clipboard's
# keys, Esc in the frequency window, the tray icon's tip as the schedule changes, a settings
# file that selects no action, and a site that never answers the update check.

# The alarm with this message, 5 seconds after Activate; E2E_ALARM is its window, dumped.
details_fire_alarm() { # message
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  local xy
  xy="$(e2e_centre Edit "Type your Message text here")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key ctrl+a
  xdotool type --delay 20 "$1"
  e2e_wait_for "$E2E_MAIN" Edit "$1"
  e2e_in "$E2E_MAIN" 5 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  E2E_ALARM="$(drv find ":: Quenlar 1.3 - Alarm ::" QuenlarForm 15000)" || e2e_fail "no alarm window within 15 s"
  e2e_dump "$E2E_ALARM"
}

# The width in pixels of a control of the last dump.
details_width() { # class text
  local line
  line="$(e2e_line "$1" "$2")"
  [[ -n "$line" ]] || e2e_fail "no $1 \"$2\""
  cut -f4 <<<"$line" | cut -d, -f3
}

# The columns of the screen that the text's ink takes inside a control of the last dump.
details_ink_width() { # class text
  local line x y w h
  line="$(e2e_line "$1" "$2")"
  IFS=, read -r x y w h <<<"$(cut -f4 <<<"$line")"
  import -window root -crop "${w}x${h}+$x+$y" +repage "$E2E_WORK/ink.png"
  convert "$E2E_WORK/ink.png" -colorspace gray -threshold 50% -negate -trim -format '%w' info:
}

# Every "&" of the user's message shows: the label is as wide as the text with each "&" drawn,
# and its ink fills that width ("Fish _Chips", the "&" taken for an access key, is narrower).
scenario_alarm_ampersand() {
  local message="Fish & Chips && Tea"
  details_fire_alarm "$message"
  e2e_expect Static "$message"
  local shown wanted ink
  shown="$(details_width Static "$message")"
  wanted="$(drv measure "$message" Arial 9.75 bold)"
  ((shown >= wanted - 1 && shown <= wanted + 1)) ||
    e2e_fail "the message's label is $shown pixels wide; with every \"&\" shown it takes $wanted"
  ink="$(details_ink_width Static "$message")"
  ((ink >= wanted - 4)) || e2e_fail "the message's ink is $ink pixels wide, its text with every \"&\" $wanted"
  e2e_shot "$E2E_ALARM" alarm-ampersand
  drv click "$E2E_ALARM" Close >/dev/null || e2e_fail "the alarm window has no Close button"
  e2e_expect_exit 10 "Close in the alarm window"
  e2e_note "\"$message\" shown whole: $shown pixels, ink $ink"
}

# A short message keeps the window as wide as designed: its title and status text whole, the
# Close button in the middle.
scenario_alarm_short() {
  details_fire_alarm "Go"
  e2e_expect Static "Go"
  local width close
  width="$(head -n 1 <<<"$E2E_DUMP" | cut -f4 | cut -d, -f3)"
  ((width > 2835 / 15)) || e2e_fail "the alarm window is $width pixels wide, narrower than designed"
  e2e_expect_panels "$E2E_ALARM" "Media File Not Loaded"
  local wx bx bw
  wx="$(head -n 1 <<<"$E2E_DUMP" | cut -f4 | cut -d, -f1)"
  IFS=, read -r bx _ bw _ <<<"$(e2e_line Button Close | cut -f4)"
  close=$((bx + bw / 2 - wx))
  # The button is centred on the window's outer width, in the client area's coordinates.
  ((close >= width / 2 - 4 && close <= width / 2 + 4)) ||
    e2e_fail "the Close button's middle is at $close of $width pixels"
  e2e_shot "$E2E_ALARM" alarm-short
  drv click "$E2E_ALARM" Close >/dev/null
  e2e_expect_exit 10 "Close in the alarm window"
  e2e_note "\"Go\": the window $width pixels wide, Close in its middle, the status text whole"
}

# Typing numbers: "500" in the frequency window stays 500, "99" becomes 100 once the box is
# left, Esc closes the window; "007" in the "In" box is 7; the clipboard's keys reach the boxes
# (Ctrl+X cuts rather than ending the program).
scenario_typing() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_menu "$E2E_MAIN" t f
  local options xy
  options="$(drv find "Beep Frequency" QuenlarForm 5000)" || e2e_fail "Change Beep Frequency opened no window"
  e2e_dump "$options"
  local label wanted
  label="$(details_width Static "Beep Frequency (Hz) :")"
  wanted="$(drv measure "Beep Frequency (Hz) :" "MS Sans Serif" 8.25)"
  ((wanted < label)) || e2e_fail "the label \"Beep Frequency (Hz) :\" is $label pixels wide for a text of $wanted"
  xy="$(e2e_centre Edit 4000)"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key ctrl+a
  xdotool type --delay 30 500
  e2e_wait_for "$options" Edit 500
  xdotool key ctrl+a
  xdotool type --delay 30 99
  e2e_wait_for "$options" Edit 99
  xdotool key Tab
  e2e_wait_for "$options" Edit 100
  e2e_shot "$options" frequency
  xdotool key Escape
  drv gone "$options" 5000 || e2e_fail "Esc did not close the frequency window"
  e2e_note "500 typed stayed 500; 99 became 100 on leaving the box; Esc closed the window"

  e2e_dump "$E2E_MAIN"
  xy="$(e2e_centre Edit 1)"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key ctrl+a
  xdotool type --delay 30 007
  e2e_wait_for "$E2E_MAIN" Edit 7
  xy="$(e2e_centre Edit 30)"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key ctrl+a ctrl+c
  e2e_dump "$E2E_MAIN"
  xy="$(e2e_centre Edit 7)"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key ctrl+a ctrl+v
  e2e_wait_for "$E2E_MAIN" Edit 30
  xdotool key ctrl+a ctrl+x
  sleep 0.5
  e2e_running || e2e_fail "Ctrl+X in the amount ended the program"
  e2e_dump "$E2E_MAIN"
  e2e_expect Edit ""
  xdotool type --delay 30 2
  e2e_wait_for "$E2E_MAIN" Edit 2

  # Letters of other scripts and a character beyond the first plane (a surrogate pair to
  # Windows) in the message: each arrives whole, and Backspace takes the emoji whole.
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  xy="$(e2e_centre Edit "Type your Message text here")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key End shift+Home
  xdotool type --delay 60 "Привет 日本 😀"
  e2e_wait_for "$E2E_MAIN" Edit "Привет 日本 😀"
  xdotool key BackSpace
  e2e_wait_for "$E2E_MAIN" Edit "Привет 日本 "
  e2e_type_over "$E2E_MAIN" "Привет 日本 " "Type your Message text here"
  e2e_check "$E2E_MAIN" "&Shutdown"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing after the typing"
  e2e_expect_settings_with 14=100
  e2e_note "007 gave 7; Ctrl+A, Ctrl+C, Ctrl+V and Ctrl+X edited the boxes; Cyrillic, Japanese and an emoji typed whole; the frequency 100 was saved"
}

# The tray icon's tip tells the present state as the schedule is activated and deactivated from
# its pop-up menu; a plain "&" in the action's name.
scenario_tray_tip() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  drv click "$E2E_MAIN" "Mi&nimize to Tray" >/dev/null
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  e2e_expect_tray_tip "Quenlar 1.3 (NOT ACTIVE)"
  local xy
  e2e_tray_icon
  e2e_tray_choose 2
  local tip i
  for ((i = 0; i < 25; i++)); do
    tip="$(e2e_tray_tip)"
    [[ "$tip" != "Quenlar 1.3 (NOT ACTIVE)" ]] && break
    sleep 0.2
  done
  [[ "$tip" =~ ^Alarm\ \&\ Message\ On\ [0-9]{2}-[A-Z][a-z]{2}-[0-9]{2}\ At\ [0-9]{2}:[0-9]{2}:[0-9]{2}\ [AP]M$ ]] ||
    e2e_fail "after Activate from the icon its tip reads \"$tip\""
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$tip" ]] || e2e_fail "the hidden window's caption is \"$(e2e_caption)\", the tip \"$tip\""
  e2e_tray_choose 2
  for ((i = 0; i < 25; i++)); do
    [[ "$(e2e_tray_tip)" == "Quenlar 1.3 (NOT ACTIVE)" ]] && break
    sleep 0.2
  done
  e2e_expect_tray_tip "Quenlar 1.3 (NOT ACTIVE)"
  e2e_tray_choose 1
  drv shown "$E2E_MAIN" 5000 || e2e_fail "Show did not bring the window back"
  e2e_dump "$E2E_MAIN"
  # A click into the window gives it the keyboard back from the tray's menu.
  xy="$(awk -F'\t' '$1 == "Static" && $2 ~ /[AP]M$/ {split($4, r, ","); print r[1] + 5, r[2] + 5; exit}' <<<"$E2E_DUMP")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1
  e2e_close_confirmed
  e2e_expect_exit 10 "closing after the tray"
  e2e_note "the tip went from NOT ACTIVE to \"$tip\" and back, as the icon's menu activated and deactivated"
}

# A settings file whose seven action lines are all False selects Shutdown, the action it names.
scenario_no_action_file() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  local lines=("${kSettingsDefaults[@]}")
  lines[0]=False
  e2e_settings_text "${lines[@]}" >"$E2E_DIR/settings.qnl"
  e2e_start_main
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Shutdown" checked
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_expect_settings "${kSettingsDefaults[@]}"
  e2e_note "no action in the file: Shutdown selected, and saved so"
}

# While the site keeps the update check waiting, the window works on: the clock ticks and an
# action is chosen at once; after ten seconds the time-out is reported and the caption comes back.
scenario_update_silent() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  local site="$E2E_WORK/silent-site"
  mkdir -p "$site"
  printf 'silent' >"$site/answer"
  : >"$site/requests"
  python3 "$here/../../tools/standin-site.py" "$E2E_PORT" "$site/answer" "$site/requests" >>"$E2E_OUT/site.log" 2>&1 &
  echo $! >>"$E2E_WORK/pids"
  local i
  for ((i = 0; i < 50; i++)); do
    python3 -c "import socket, sys; socket.create_connection(('127.0.0.1', int(sys.argv[1])), 0.2)" "$E2E_PORT" \
      2>/dev/null && break
    sleep 0.1
  done
  e2e_start_main
  local started clock
  e2e_keys "$E2E_MAIN" ctrl+u
  started=$(date +%s.%N)
  e2e_wait_for "$E2E_MAIN" Button "&Shutdown" checked
  [[ "$(e2e_caption)" == "$kTitle Checking for updates..." ]] || e2e_fail "during the check the caption is \"$(e2e_caption)\""
  clock="$(awk -F'\t' '$1 == "Static" && $2 ~ /[AP]M$/ {print $2; exit}' <<<"$E2E_DUMP")"
  e2e_check "$E2E_MAIN" "&Restart"
  sleep 1.2
  e2e_dump "$E2E_MAIN"
  [[ -z "$(e2e_line Static "$clock")" ]] || e2e_fail "the clock stood still during the check"
  local took
  took="$(echo "$(date +%s.%N) - $started" | bc)"
  (($(echo "$took < 8" | bc))) || e2e_fail "choosing Restart and reading the clock took $took s: the window was held"
  e2e_box "$kTitle" 15000
  [[ "$E2E_BOX_TEXT" == "Timout Exceeded!\\rPlease check your internet connection and try again." ]] ||
    e2e_fail "after a silent site the message reads \"$E2E_BOX_TEXT\""
  took="$(printf '%.1f' "$(echo "$(date +%s.%N) - $started" | bc)")"
  e2e_answer OK
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$kTitle" ]] || e2e_fail "after the time-out the caption is \"$(e2e_caption)\""
  e2e_close_confirmed
  e2e_expect_exit 10 "closing after the time-out"
  e2e_note "the window worked during the check (Restart chosen, the clock ticking); time-out after $took s"
}
