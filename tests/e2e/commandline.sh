# shellcheck shell=bash
# The command line with real processes: a first copy started with switches, later copies that
# hand theirs to the running one, and refused command lines. Run by tests/e2e/run.sh.

# Runs the program in $E2E_DIR with these switches from a batch file, as a script would (a batch
# file waits for the program, and %errorlevel% holds its whole exit code, where a Unix shell
# keeps only its low byte): CL_OUT is what it wrote, CL_CODE its exit code.
cl_run() { # switches...
  local batch="$E2E_DIR/run.bat" exe
  exe="$(e2e_winpath "$E2E_DIR")\\quenlar.exe"
  printf '@"%s" %%*\r\n@echo EXIT=%%errorlevel%%\r\n' "$exe" >"$batch"
  local out
  # cmd ends with the batch file's last code, which EXIT= tells anyway.
  out="$(qw_wine 30 cmd /c "$(e2e_winpath "$batch")" "$@" </dev/null 2>>"$E2E_OUT/program.log" | tr -d '\r')" || true
  CL_CODE="$(sed -n 's/^EXIT=//p' <<<"$out" | tail -n 1)"
  CL_OUT="$(grep -v '^EXIT=' <<<"$out" | sed '/^$/d' || true)"
  e2e_watch
}

cl_expect() { # switches code [output]
  local args=("$1")
  read -r -a args <<<"$1"
  cl_run "${args[@]}"
  [[ "$CL_CODE" == "$2" ]] || e2e_fail "quenlar.exe $1 ended with $CL_CODE, not $2 (it wrote: $CL_OUT)"
  [[ $# -lt 3 || "$CL_OUT" == "$3" ]] || e2e_fail "quenlar.exe $1 wrote \"$CL_OUT\", not \"$3\""
}

# The journal edition started with /s /t 5 /w 3 from a clean folder: it activates at once, the
# warning counts 3, 2, 1, the shutdown is requested unforced, and the program ends with 0.
scenario_cl_first_copy() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  qw_wine_bg 60 "$E2E_DIR/quenlar.exe" /s /t 5 /w 3 </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
  local warning seen="" line
  warning="$(drv find " Warning!" QuenlarForm 15000)" || e2e_fail "no countdown warning within 15 s"
  for ((i = 0; i < 60; i++)); do
    line="$(drv dump "$warning" 2>/dev/null | awk -F'\t' '$1 == "Static" && $2 ~ /^Action :/ {print $2; exit}')" || break
    [[ -n "$line" && "$seen" != *"$line"* ]] && seen+="$line|"
    e2e_running || break
    sleep 0.1
  done
  for n in 3 2 1; do
    [[ "$seen" == *"Action : Shutdown will be performed in $n Seconds."* ]] || e2e_fail "the warning never read $n seconds: $seen"
  done
  e2e_expect_exit 15 "the countdown"
  e2e_expect_request "ExitWindowsEx(1, 0)"
  e2e_note "/s /t 5 /w 3: the warning counted 3, 2, 1; ExitWindowsEx(1, 0); exit code 0"
}

# A copy running idle; later copies activate it, ask its state, are refused a second schedule,
# cancel it, and find nothing more to cancel.
scenario_cl_running_copy() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  cl_expect "/r /in 2m" 0 ""
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  e2e_expect Button "&Restart" checked
  # The target shows beside the clock, both as date and time.
  local dates
  dates="$(awk -F'\t' '$1 == "Static" && $2 ~ /^[0-9][0-9] [A-Z][A-Z][A-Z] [0-9][0-9][0-9][0-9]/' <<<"$E2E_DUMP" | wc -l)"
  ((dates == 2)) || e2e_fail "the window shows $dates dates, not the clock and the target"
  e2e_shot "$E2E_MAIN" command-line-active
  cl_expect /status 0
  [[ "$CL_OUT" =~ ^Restart\ On\ [0-9]{2}-[A-Z][a-z]{2}-[0-9]{2}\ At\ [0-9:]{8}\ [AP]M\;\ 1[0-2][0-9]\ seconds\ left\.$ ]] ||
    e2e_fail "/status wrote \"$CL_OUT\""
  local status="$CL_OUT"
  cl_expect "/t 5 /lock" 1190 "A schedule is already active: cancel it first with /a."
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Restart" checked
  e2e_expect Button "De&activate"
  cl_expect /a 0 ""
  e2e_wait_for "$E2E_MAIN" Button "&Activate"
  e2e_expect Button "&Restart" checked '!disabled'
  cl_expect /a 1116 "Nothing to cancel: no schedule is active."
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_note "/r /in 2m activated it; /status: \"$status\"; /t 5 /lock: 1190; /a: idle; /a again: 1116"
}

# Command lines that are refused: the reason and exit code 87 (1062 for a running copy that is
# not there), no window left behind, the settings file untouched.
scenario_cl_refused() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_settings_text "${kSettingsDefaults[@]}" >"$E2E_DIR/settings.qnl"
  cp "$E2E_DIR/settings.qnl" "$E2E_WORK/cl-refused.before"
  local refused=(
    "/t|/t needs a value"
    "/s /t -1|/t takes whole seconds, 0 to 315360000, not \"-1\""
    "/s /in 5x|/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"5x\""
    "/s /at 25:00|/at takes a time of day, HH:MM[:SS], 24-hour or with AM or PM, not \"25:00\""
    "/s /w 100|/w takes whole seconds, 0 to 99, not \"100\""
    "/bogus|unknown switch /bogus"
  )
  local each line reason
  for each in "${refused[@]}"; do
    line="${each%%|*}" reason="${each#*|}"
    # shellcheck disable=SC2086 # the switches
    cl_run $line
    [[ "$CL_CODE" == 87 ]] || e2e_fail "quenlar.exe $line ended with $CL_CODE, not 87"
    [[ "$(head -n 1 <<<"$CL_OUT")" == "quenlar: $reason" ]] || e2e_fail "quenlar.exe $line wrote \"$(head -n 1 <<<"$CL_OUT")\""
    [[ "$CL_OUT" == *"Usage: quenlar"* ]] || e2e_fail "quenlar.exe $line showed no usage"
  done
  cl_expect /status 1062 "Quenlar is not running."
  drv list | grep -q QuenlarMain && e2e_fail "a window was left behind"
  cmp -s "$E2E_DIR/settings.qnl" "$E2E_WORK/cl-refused.before" || e2e_fail "the settings file changed"
  e2e_note "six refused command lines: 87 and the reason; /status with no copy: 1062; no window, the file untouched"
}

# /show brings a copy hidden in the tray back; /quit ends it without a question, saving.
scenario_cl_show_quit() {
  E2E_DIR="$(e2e_folder "$E2E_REAL")"
  e2e_start_main
  e2e_check "$E2E_MAIN" "&Log Off"
  drv click "$E2E_MAIN" "Mi&nimize to Tray" >/dev/null
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  cl_expect /show 0 ""
  drv shown "$E2E_MAIN" 5000 || e2e_fail "/show did not bring the window back"
  cl_expect /quit 0 ""
  e2e_expect_exit 10 "/quit"
  e2e_expect_settings_with 0=False 2=True
  e2e_note "/show restored the window from the tray; /quit ended it and saved Log Off"
}
