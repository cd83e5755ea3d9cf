# shellcheck shell=bash
# Helpers of the end-to-end runs (sourced by tests/e2e/run.sh after tools/wine/env.sh): start the
# program in a folder of its own, find its windows, read them through the driver, act on them
# with the mouse and keyboard through xdotool, and fail with what was seen.
#
# Set by run.sh: E2E_WORK (the run's scratch folder), E2E_OUT (pictures and logs kept after the
# run), E2E_DRIVER (the driver program), E2E_REAL (quenlar.exe), E2E_JOURNAL (its journal
# edition). Set per scenario: E2E_NAME, E2E_DIR (the program's folder), E2E_PID, E2E_MAIN,
# E2E_LOG_FROM (the size of program.log when the scenario began).

kTitle=":: Quenlar 1.3 ::"
kSettingsDefaults=(True False False False False False False 0 0 0 True False False 30 4000
  "Select File..." "Select File..." "Type your Message text here")
# The lines after those eighteen: the "Activate When" window's last choices, at their defaults.
kWhenDefaults=(0 "" 30 10 5 50 5)
# And after those: Allow Postpone in the Warning, its minutes, Keep the Computer Awake until Then.
kLaterDefaults=(False 10 False 0 False "" "")

# ---------------------------------------------------------------- reporting

e2e_note() { echo "  $E2E_NAME: $*"; }

# Ends the scenario: what was expected and what was seen, the visible windows, and a picture
# of the screen in $E2E_OUT. Only the first failure of a scenario speaks: one inside a `$(...)`
# ends only that subshell, and the step around it then fails too. A step that fails after a
# crash is reported as the crash.
e2e_fail() {
  local what="$*" crash
  [[ ! -e "$E2E_WORK/$E2E_NAME.failed" ]] || exit 1
  : >"$E2E_WORK/$E2E_NAME.failed"
  if [[ "$what" != "the program crashed: "* ]] && crash="$(e2e_crash)"; then
    what="the program crashed: $crash (then: $what)"
  fi
  echo "FAILED: scenario $E2E_NAME: $what" >&2
  echo "  visible windows (class, title):" >&2
  drv list 2>/dev/null | sed 's/^/    /' >&2 || true
  import -window root "$E2E_OUT/$E2E_NAME-failure.png" 2>/dev/null &&
    echo "  screen: $E2E_OUT/$E2E_NAME-failure.png" >&2
  exit 1
}

# What shows that a program crashed, printed, if anything does. This prefix turns Wine's crash
# dialog off (tools/wine/env.sh): a program that crashes writes "wine: Unhandled page fault on
# write access to 0000000000000000 at address ... (thread 0024), starting debugger..." to its
# error output, winedbg runs for under a second, and the program ends with exit code 5
# (0xC0000005 cut to a byte), or 0 when winedbg ends it first. So: that line in the log of the
# programs this scenario started, or a winedbg of this prefix at work. (With the dialog on, the
# driver sees it: see CrashShown in the driver.)
e2e_crash() {
  local pid report
  report="$(tail -c "+$((${E2E_LOG_FROM:-0} + 1))" "$E2E_OUT/program.log" 2>/dev/null |
    grep -a '^wine: Unhandled')" || true
  if [[ -n "$report" ]]; then
    head -n 1 <<<"$report"
    return 0
  fi
  # Any other Wine prefix's winedbg is not ours; a finished one (a zombie) has no environment.
  for pid in $(pgrep -x winedbg); do
    if grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null; then
      echo "winedbg is at work: $(xargs -0 <"/proc/$pid/cmdline" | sed "s/ *$//")"
      return 0
    fi
  done
  return 1
}

# Fails the scenario if a program crashed. Cheap (no Wine start): the helpers that act or wait
# call it, and run.sh after each scenario.
e2e_watch() {
  local crash
  if crash="$(e2e_crash)"; then e2e_fail "the program crashed: $crash"; fi
}

# ---------------------------------------------------------------- the program

# The driver's exit code when a crashed program's window is on screen.
kCrashShown=3

# The driver under the same Wine; its lines without CR. A crash window on screen fails the
# scenario with what the window says.
drv() {
  local out status=0
  out="$(qw_wine 60 "$E2E_DRIVER" "$@" </dev/null 2>>"$E2E_OUT/driver.log")" || status=$?
  out="${out//$'\r'/}"
  ((status != kCrashShown)) || e2e_fail "the program crashed: $out"
  [[ -z "$out" ]] || printf '%s\n' "$out"
  return "$status"
}

# A folder of its own for the program, with this edition in it as quenlar.exe; prints its path.
e2e_folder() { # exe [folder]
  local folder="${2:-$E2E_WORK/$E2E_NAME}"
  mkdir -p "$folder"
  cp "$1" "$folder/quenlar.exe"
  echo "$folder"
}

# Windows' name of a path on this machine (Wine's drive Z: is the root).
e2e_winpath() { local p="${1//\//\\}"; echo "Z:$p"; }

# Starts the program in $E2E_DIR (from the scenario's current folder, the run's scratch folder);
# E2E_PID is its process, a child of this shell.
e2e_start() {
  qw_wine_bg 180 "$E2E_DIR/quenlar.exe" </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
}

# Starts the program and waits for its main window; E2E_MAIN is its handle.
e2e_start_main() {
  e2e_start
  E2E_MAIN="$(drv find "$kTitle" QuenlarMain 20000)" || e2e_fail "the main window did not show"
}

e2e_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# Waits for the program to end by itself; fails unless it does, with exit code 0, in time.
e2e_expect_exit() { # seconds what
  local i status=0
  for ((i = 0; i < $1 * 10; i++)); do
    e2e_running || break
    sleep 0.1
  done
  e2e_watch
  e2e_running && e2e_fail "the program still runs $1 s after $2"
  wait "$E2E_PID" || status=$?
  [[ $status -eq 0 ]] || e2e_fail "the program ended with exit code $status after $2"
}

# The resident memory at its peak, in kB, of the program's own process (under `timeout`).
e2e_peak_kb() {
  local child
  child="$(pgrep -P "$E2E_PID" | head -n 1)"
  awk '/^VmHWM:/ {print $2}' "/proc/$child/status"
}

# Stops whatever a scenario left running: each process it started, by its id.
e2e_stop_leftovers() {
  local pid i
  [[ -s "$E2E_WORK/pids" ]] || return 0
  for pid in $(cat "$E2E_WORK/pids"); do
    kill -0 "$pid" 2>/dev/null || continue
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 30; i++)); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  done
  : >"$E2E_WORK/pids"
}

# ---------------------------------------------------------------- reading windows

# E2E_DUMP: the window and everything in it, one control a line (class, text, state, rect).
e2e_dump() { # handle
  E2E_DUMP="$(drv dump "$1")" || e2e_fail "window $1 is gone"
}

# The dump's line of the first control of this class with exactly this text.
e2e_line() { # class text
  # Through the environment: awk -v would read the backslashes of a path as escapes.
  CLASS="$1" TEXT="$2" awk -F'\t' '$1 == ENVIRON["CLASS"] && $2 == ENVIRON["TEXT"] {print; exit}' <<<"$E2E_DUMP"
}

# Fails unless the last dump has the control, with every one of the state words given.
e2e_expect() { # class text [state words...]
  local line word
  line="$(e2e_line "$1" "$2")"
  [[ -n "$line" ]] || e2e_fail "no $1 \"$2\"; the window holds:
$(cut -f1-3 <<<"$E2E_DUMP")"
  shift 2
  for word in "$@"; do
    if [[ "$word" == !* ]]; then
      [[ " $(cut -f3 <<<"$line") " != *" ${word#!} "* ]] || e2e_fail "$line: is ${word#!}"
    else
      [[ " $(cut -f3 <<<"$line") " == *" $word "* ]] || e2e_fail "$line: is not $word"
    fi
  done
}

# The caption of the window in the last dump.
e2e_caption() { head -n 1 <<<"$E2E_DUMP" | cut -f2; }

# Waits up to 5 s for the control to show in the window, with the state word if one is given
# (a click is handled after xdotool returns); the last dump is the window's then.
e2e_wait_for() { # window class text [state]
  local i line
  for ((i = 0; i < 25; i++)); do
    e2e_watch
    e2e_dump "$1"
    line="$(e2e_line "$2" "$3")"
    if [[ -n "$line" ]] && [[ -z "${4:-}" || " $(cut -f3 <<<"$line") " == *" $4 "* ]]; then return 0; fi
    sleep 0.2
  done
  e2e_fail "no $2 \"$3\"${4:+ $4} came; the window holds:
$(cut -f1-3 <<<"$E2E_DUMP")"
}

# The centre of a control of the last dump, as "x y".
e2e_centre() { # class text
  local line
  line="$(e2e_line "$1" "$2")"
  [[ -n "$line" ]] || e2e_fail "no $1 \"$2\" to reach"
  awk -F'\t' '{split($4, r, ","); print r[1] + int(r[3] / 2), r[2] + int(r[4] / 2)}' <<<"$line"
}

# Fails unless the window's status bar (or the first one in the window) holds these panel
# texts, in order.
e2e_expect_panels() { # window texts...
  local window="$1" panels
  shift
  panels="$(drv panels "$window")" || e2e_fail "window $window holds no status bar"
  [[ "$panels" == "$(printf '%s\n' "$@")" ]] ||
    e2e_fail "the status bar's panels read \"${panels//$'\n'/\" \"}\", not \"$*\""
}

# Fails unless one of the tips the window's tooltips hold reads this.
e2e_expect_tip() { # window text
  local tips
  tips="$(drv tips "$1")" || e2e_fail "window $1 is gone"
  grep -qxF -- "$2" <<<"$tips" || e2e_fail "no tip reads \"$2\"; the window's tips:
$tips"
}

# The tip of the one icon in the notification area, without the blanks the program pads it
# with; waits up to 5 s for the icon.
e2e_tray_tip() {
  local i tips=""
  for ((i = 0; i < 25; i++)); do
    tips="$(drv traytips)" || e2e_fail "the tray icons' tips could not be read"
    [[ -z "$tips" ]] || break
    sleep 0.2
  done
  [[ -n "$tips" ]] || e2e_fail "no icon in the tray has a tip"
  [[ "$tips" != *$'\n'* ]] || e2e_fail "more than one icon in the tray: $tips"
  # shellcheck disable=SC2001 # trailing blanks only
  sed 's/ *$//' <<<"$tips"
}

# The balloon over a tray icon says TEXT, within MS (default 8000; Wine shows it about 2 s after
# the program's call, for 10 s). Wine's explorer shows it as a balloon tooltip of its own and
# draws the title "Quenlar" but does not tell it (TTM_GETTITLE gives nothing), so the title is
# checked where it can be read; the picture of the balloon goes to e2e/NAME.png.
e2e_expect_balloon() { # text name [ms]
  local got title text
  got="$(drv balloon "${3:-8000}")" || e2e_fail "no balloon came up; the screen shows: $(drv list | tr '\n' ';')"
  title="$(sed -n 1p <<<"$got")"
  text="$(sed -n 2p <<<"$got")"
  [[ "$text" == "$1" ]] || e2e_fail "the balloon reads \"$text\", not \"$1\""
  [[ -z "$title" || "$title" == "Quenlar" ]] || e2e_fail "the balloon's title is \"$title\""
  # The balloon hangs below the tray's window: the picture takes both.
  local x y w h
  e2e_dump "$(drv find "Wine System Tray" "*" 2000)"
  IFS=, read -r x y w h <<<"$(head -n 1 <<<"$E2E_DUMP" | cut -f4)"
  import -window root -crop "400x$((h + 160))+$x+$y" +repage "$E2E_OUT/$2.png"
}

# The tray icon's place on screen: E2E_TRAY_X, _Y, _W, _H.
e2e_tray_icon() {
  local tray
  tray="$(drv find "Wine System Tray" "*" 5000)" || e2e_fail "no tray icon"
  e2e_dump "$tray"
  IFS=, read -r E2E_TRAY_X E2E_TRAY_Y E2E_TRAY_W E2E_TRAY_H \
    <<<"$(awk -F'\t' '$1 == "__winex11_tray_icon" {print $4; exit}' <<<"$E2E_DUMP")"
}

# An item of the tray icon's pop-up, by its row, clicked with the mouse (after e2e_tray_icon).
# The pop-up's rows: 1 Show, 2 Activate or Deactivate, 3 Activate When, 4 Turn Off the Display,
# 5 Exit.
e2e_tray_choose() { # row
  local popup px py pw ph
  xdotool mousemove $((E2E_TRAY_X + E2E_TRAY_W / 2)) $((E2E_TRAY_Y + E2E_TRAY_H / 2)) click 3
  popup="$(drv popup 5000)" || e2e_fail "a right click on the icon opened no pop-up menu"
  e2e_dump "$popup"
  IFS=, read -r px py pw ph <<<"$(head -n 1 <<<"$E2E_DUMP" | cut -f4)"
  xdotool mousemove $((px + pw / 2)) $((py + ph * (2 * $1 - 1) / 10)) click 1
  # Wine's menu now and then drops a click that comes the moment it has opened (seen once in
  # thirty-odd runs): a menu still open after 1.5 s gets the click once more.
  drv gone "$popup" 1500 && return
  xdotool click 1
  drv gone "$popup" 3000 || e2e_fail "the pop-up menu stayed open"
}

e2e_expect_tray_tip() { # text
  local tip
  tip="$(e2e_tray_tip)"
  [[ "$tip" == "$1" ]] || e2e_fail "the tray icon's tip reads \"$tip\", not \"$1\""
}

# The message box of this title (the program's own by default) and its text; E2E_BOX is its
# handle, E2E_BOX_TEXT its text.
e2e_box() { # [title] [ms]
  E2E_BOX="$(drv find "${1:-$kTitle}" "#32770" "${2:-10000}")" || e2e_fail "no message box \"${1:-$kTitle}\""
  e2e_dump "$E2E_BOX"
  E2E_BOX_TEXT="$(awk -F'\t' '$1 == "Static" && $2 != "" {print $2; exit}' <<<"$E2E_DUMP")"
}

e2e_expect_box() { # text [title]
  e2e_box "${2:-$kTitle}"
  [[ "$E2E_BOX_TEXT" == "$1" ]] || e2e_fail "the message reads \"$E2E_BOX_TEXT\", not \"$1\""
}

# Answers the box with its button and waits for it to go.
e2e_answer() { # button
  drv click "$E2E_BOX" "$1" >/dev/null || e2e_fail "the message box has no button $1"
  drv gone "$E2E_BOX" 5000 || e2e_fail "the message box stayed after $1"
}

# ---------------------------------------------------------------- acting as the user

# A left click in the middle of a control of the window, as the mouse gives it.
e2e_click() { # window class text
  local xy
  e2e_watch
  e2e_dump "$1"
  xy="$(e2e_centre "$2" "$3")"
  # shellcheck disable=SC2086 # x and y
  xdotool mousemove $xy click 1
}

# A click on an option or check box, and the wait until the window shows it checked.
e2e_check() { # window text
  e2e_click "$1" Button "$2"
  e2e_wait_for "$1" Button "$2" checked
}

# The alarm's panel is in view only while "Alarm & Message" is chosen, and its controls are made
# when it first comes into view: chooses it, so that the last dump holds them, then `back`.
e2e_with_alarm_panel() { # back-option check...
  local back="$1"
  shift
  e2e_check "$E2E_MAIN" "Alarm && &Message"
  "$@"
  e2e_check "$E2E_MAIN" "$back"
}

# Clicks into a text box that holds `old`, selects what it holds and types `new` over it.
e2e_type_over() { # window old new
  local xy
  e2e_watch
  e2e_dump "$1"
  xy="$(e2e_centre Edit "$2")"
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 1 key End shift+Home
  xdotool type --delay 20 "$3"
  e2e_wait_for "$1" Edit "$3"
}

# Keys to the window, made the foreground window first (with no keys, only that).
e2e_keys() { # window keys...
  local window="$1"
  shift
  e2e_watch
  drv focus "$window" || e2e_fail "window $window did not take the keyboard"
  [[ $# -eq 0 ]] || xdotool key --delay 30 "$@"
}

# A menu item by the keyboard: Alt and the menu's letter, then the item's letter.
e2e_menu() { # window menu-letter item-letter
  local popup
  e2e_keys "$1" "alt+$2"
  popup="$(drv popup 3000)" || e2e_fail "Alt+$2 opened no menu"
  xdotool key "$3"
  drv gone "$popup" 3000 || e2e_fail "the menu stayed open after $3"
}

# Chooses "In" so many units: the unit from the drop-down list by its first letter, then the
# amount typed over the one shown.
e2e_in() { # window amount unit
  local list x y w h amount
  e2e_watch
  e2e_dump "$1"
  IFS=, read -r x y w h <<<"$(awk -F'\t' '$1 == "ComboBox" {print $4; exit}' <<<"$E2E_DUMP")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  list="$(drv find "*" ComboLBox 3000)" || e2e_fail "the list of units did not drop down"
  xdotool key "${3:0:1}" Return
  drv gone "$list" 3000 || e2e_fail "the list of units stayed down"
  e2e_wait_for "$1" ComboBox "$3"
  # The amount's box stands on the list's row.
  amount="$(awk -F'\t' -v top="$y" '$1 == "Edit" {split($4, r, ","); if (r[2] >= top - 5 && r[2] <= top + 5) {print $2; exit}}' <<<"$E2E_DUMP")"
  [[ "$amount" == "$2" ]] || e2e_type_over "$1" "$amount" "$2"
}

# Closes the main window as the close box would, and answers the exit question Yes.
e2e_close_confirmed() {
  e2e_keys "$E2E_MAIN" alt+F4
  e2e_expect_box "Are you sure, you want to Exit?    " "Exit Confirmation"
  e2e_answer "&Yes"
}

# ---------------------------------------------------------------- files

# The settings file as the program writes it: each value, then CR LF.
e2e_settings_text() { printf '%s\r\n' "$@"; }

# Fails unless the settings file holds these lines: eighteen or twenty-five, followed by the
# later lines at their defaults, or all of them.
e2e_expect_settings() { # lines...
  local file="$E2E_DIR/settings.qnl" lines=("$@")
  ((${#lines[@]} != 18)) || lines+=("${kWhenDefaults[@]}")
  ((${#lines[@]} != 25)) || lines+=("${kLaterDefaults[@]}")
  [[ -f "$file" ]] || e2e_fail "no settings file was written"
  cmp -s "$file" <(e2e_settings_text "${lines[@]}") ||
    e2e_fail "the settings file holds $(tr -d '\r' <"$file" | tr '\n' '|'), not $(printf '%s|' "${lines[@]}")"
}

# Fails unless the settings file holds the default lines but for the ones given, each as
# N=value, N counted from 0.
e2e_expect_settings_with() { # N=value...
  local lines=("${kSettingsDefaults[@]}" "${kWhenDefaults[@]}" "${kLaterDefaults[@]}") change
  for change in "$@"; do lines[${change%%=*}]="${change#*=}"; done
  e2e_expect_settings "${lines[@]}"
}

# The journal of the power requests and program starts, without CR.
e2e_journal() { [[ ! -f "$E2E_DIR/quenlar-journal.txt" ]] || tr -d '\r' <"$E2E_DIR/quenlar-journal.txt"; }

# Fails unless the journal's ExitWindowsEx calls are this one call.
e2e_expect_request() { # call
  [[ "$(e2e_journal | grep ExitWindowsEx)" == "$1" ]] || e2e_fail "the journal holds: $(e2e_journal)"
}

# A picture of a window (from the last dump of it) in $E2E_OUT.
e2e_shot() { # window name
  local r x y w h
  e2e_dump "$1"
  r="$(head -n 1 <<<"$E2E_DUMP" | cut -f4)"
  IFS=, read -r x y w h <<<"$r"
  import -window root -crop "${w}x${h}+$x+$y" +repage "$E2E_OUT/$2.png"
}
