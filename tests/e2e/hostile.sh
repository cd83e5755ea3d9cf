# shellcheck shell=bash
# The program against what its folder and its settings file may throw at it: in each case it
# starts, keeps its defaults or what it could read, never loses the file that was there, and
# says so when the user asks to save. Run by tests/e2e/run.sh like the scenarios.

# The choices each of these files holds: Log Off, forced, a countdown of 12, a message.
kStored=(False False True False False False False 1 0 0 True False False 12 4000
  "Select File..." "Select File..." "Stored message")

# A folder for the program with the stored settings file in it; E2E_DIR.
hostile_folder() { # [folder]
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL" "${1:-}")"
  e2e_settings_text "${kStored[@]}" >"$E2E_DIR/settings.qnl"
  cp "$E2E_DIR/settings.qnl" "$E2E_WORK/$E2E_NAME.before"
}

# Whether the window shows the stored choices, or the defaults.
hostile_expect_stored() {
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Log Off" checked
  e2e_expect Button "&Forced Action" checked
  e2e_expect Edit 12
  e2e_with_alarm_panel "&Log Off" e2e_expect Edit "Stored message"
}
hostile_expect_defaults() {
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Shutdown" checked
  e2e_expect Button "&Forced Action" '!checked'
  e2e_expect Edit 30
  e2e_with_alarm_panel "&Shutdown" e2e_expect Edit "Type your Message text here"
}

# Ctrl+S, and the message that the save failed, naming the file (pictured as `picture`).
hostile_expect_save_refused() { # path as the program names it [picture]
  e2e_keys "$E2E_MAIN" ctrl+s
  e2e_box
  [[ "$E2E_BOX_TEXT" == "Settings could not be saved to the file $1     " ]] ||
    e2e_fail "Ctrl+S said \"$E2E_BOX_TEXT\""
  [[ -z "${2:-}" ]] || e2e_shot "$E2E_BOX" "$2"
  e2e_answer OK
}

# The stored file is still there, unchanged, and nothing else of the program's is beside it.
hostile_expect_file_kept() {
  cmp -s "$E2E_DIR/settings.qnl" "$E2E_WORK/$E2E_NAME.before" ||
    e2e_fail "the settings file changed: $(tr -d '\r' <"$E2E_DIR/settings.qnl" | tr '\n' '|')"
  local others
  others="$(find "$E2E_DIR" -mindepth 1 ! -name quenlar.exe ! -name settings.qnl -printf '%f ')"
  [[ -z "$others" ]] || e2e_fail "left beside the program: $others"
}

# A read-only folder with a read-only file: the file is read, a save can neither replace it nor
# write it in place, and it stays as it was. (A file the user may write in such a folder is
# written in place: tests/release/install.sh shows it for an install for every user.)
scenario_read_only_folder() {
  hostile_folder
  chmod a-w "$E2E_DIR" "$E2E_DIR/settings.qnl"
  if touch "$E2E_DIR/probe" 2>/dev/null; then
    rm -f "$E2E_DIR/probe"
    chmod u+w "$E2E_DIR"
    echo "  $E2E_NAME: this user writes into read-only folders (root with CAP_DAC_OVERRIDE)" >&2
    return "$kSkipped"
  fi
  e2e_start_main
  hostile_expect_stored
  hostile_expect_save_refused "$(e2e_winpath "$E2E_DIR")\\settings.qnl" save-refused
  e2e_check "$E2E_MAIN" "&Restart"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  chmod u+w "$E2E_DIR"
  hostile_expect_file_kept
  e2e_note "read the stored choices; Ctrl+S said it could not save; the file is unchanged"
}

# The file held open by another program that shares it with no one: the defaults, a refused
# save, and after the other program lets go, an exit that still leaves the file alone.
scenario_locked_file() {
  hostile_folder
  local release="$E2E_WORK/$E2E_NAME.release" held="$E2E_WORK/$E2E_NAME.held"
  qw_wine_bg 180 "$E2E_DRIVER" hold "$(e2e_winpath "$E2E_DIR")\\settings.qnl" "$(e2e_winpath "$release")" \
    </dev/null >"$held" 2>&1
  local holder="$QW_PID" i
  echo "$holder" >>"$E2E_WORK/pids"
  for ((i = 0; i < 100; i++)); do
    grep -q held "$held" && break
    kill -0 "$holder" 2>/dev/null || e2e_fail "the other program could not open the file: $(cat "$held")"
    sleep 0.1
  done
  e2e_start_main
  hostile_expect_defaults
  hostile_expect_save_refused "$(e2e_winpath "$E2E_DIR")\\settings.qnl"
  touch "$release"
  wait "$holder" || e2e_fail "the other program did not let go of the file"
  rm -f "$release"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  hostile_expect_file_kept
  e2e_note "defaults while the file was held; Ctrl+S said so; the exit left the file as it was"
}

# A file of 100 MB: its 18 lines followed by junk. Start-up reads the lines and not the rest,
# in time and memory; the exit writes the 18 lines back.
scenario_huge_file() {
  hostile_folder
  head -c 100000000 /dev/zero | tr '\0' 'x' >>"$E2E_DIR/settings.qnl"
  local started shown peak
  started="$(date +%s.%N)"
  e2e_start_main
  shown="$(date +%s.%N)"
  peak="$(e2e_peak_kb)"
  hostile_expect_stored
  ((peak < 80000)) || e2e_fail "the program took $((peak / 1024)) MB to start with a 100 MB settings file"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_expect_settings "${kStored[@]}"
  e2e_note "shown after $(printf '%.1f' "$(echo "$shown - $started" | bc)") s, peak resident memory $((peak / 1024)) MB; the 18 lines restored and written back"
}

# NUL bytes inside the lines: a yes-or-no line with one is unusable, a text ends at it, as its
# box shows it; the file saved holds what the boxes show.
scenario_nul_bytes() {
  hostile_folder
  printf 'False\r\nTr\0ue\r\nTrue\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\n1\r\n0\r\n0\r\nTrue\r\nFalse\r\nFalse\r\n1\0002\r\n40\00000\r\nC:\\to\0ol.exe\r\nSelect File...\r\nhe\0llo\r\n' \
    >"$E2E_DIR/settings.qnl"
  e2e_start_main
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Log Off" checked
  e2e_expect Button "&Restart" '!checked'
  e2e_expect Edit "C:\\to"
  e2e_expect Edit 1
  e2e_with_alarm_panel "&Log Off" e2e_expect Edit "he"
  e2e_keys "$E2E_MAIN" ctrl+s
  e2e_expect_box "Settings are saved successfully!     "
  e2e_answer OK
  e2e_expect_settings False False True False False False False 1 0 0 True False False 1 40 "C:\\to" "Select File..." he
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  e2e_note "texts end at their NUL on screen and in the file saved"
}

# The program at a path of 259 characters, the longest Windows starts a program from: the
# settings file's path is then longer than the 259 characters Windows' ANSI file functions
# take. Wine reads it all the same; the save cannot make a new file beside it, so it writes the
# file in place.
scenario_long_path() {
  local parent="$E2E_WORK/$E2E_NAME"
  # "Z:" + the folder + "\quenlar.exe" = 259 characters.
  local name_length=$((259 - 2 - ${#parent} - 1 - 12))
  local folder
  folder="$parent/$(printf 'q%.0s' $(seq "$name_length"))"
  hostile_folder "$folder"
  local exe_path
  exe_path="$(e2e_winpath "$E2E_DIR")\\quenlar.exe"
  ((${#exe_path} == 259)) || e2e_fail "the program's path has ${#exe_path} characters"
  e2e_start_main
  hostile_expect_stored
  # No new file fits beside it (its path would be too long): the settings are written in place.
  e2e_check "$E2E_MAIN" "&Restart"
  e2e_keys "$E2E_MAIN" ctrl+s
  e2e_expect_box "Settings are saved successfully!     "
  e2e_answer OK
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  local saved=("${kStored[@]}")
  saved[1]=True saved[2]=False
  e2e_expect_settings "${saved[@]}"
  e2e_note "a 259-character program path: the stored choices read; saved in place, Restart kept"
}

# A folder whose name the ANSI code page cannot write: the program finds its file there and
# reads the stored choices, saves a change on closing, and a second run shows it.
scenario_non_ansi_path() {
  hostile_folder "$E2E_WORK/$E2E_NAME/Музыка 音楽"
  e2e_start_main
  hostile_expect_stored
  e2e_check "$E2E_MAIN" "&Restart"
  e2e_close_confirmed
  e2e_expect_exit 10 "closing"
  local saved=("${kStored[@]}")
  saved[1]=True saved[2]=False
  e2e_expect_settings "${saved[@]}"
  e2e_start_main
  e2e_dump "$E2E_MAIN"
  e2e_expect Button "&Restart" checked
  e2e_expect Edit 12
  e2e_close_confirmed
  e2e_expect_exit 10 "closing again"
  e2e_expect_settings "${saved[@]}"
  e2e_note "in Музыка 音楽: the stored choices read, Restart saved on closing and shown by the second run"
}
