# shellcheck shell=bash
# The warning's postpone: allowed from the Settings menu, clicked with the mouse, and from the
# command line; and the warning without it, control for control as it always was. Run by
# tests/e2e/run.sh, with the helpers of tests/e2e/lib.sh and tests/e2e/commandline.sh.

kWarningTitle=" Warning!"

# The warning's dump with the seconds of its sentence and the progress left out, and its place
# on screen reduced to its size: what stays the same from run to run.
postpone_layout() { # dump
  awk -F'\t' -v OFS='\t' 'NR == 1 { split($4, r, ","); $4 = r[3] "x" r[4] }
    NR > 1 { gsub(/[0-9]+ Seconds/, "N Seconds", $2); gsub(/pos=[0-9]+/, "pos=N", $3) } { print }' <<<"$1"
}

# Shutdown in 5 seconds with a countdown of 30, from the window; prints the warning's handle.
postpone_fire() {
  e2e_in "$E2E_MAIN" 5 Seconds
  e2e_click "$E2E_MAIN" Button "&Activate"
  drv find "$kWarningTitle" QuenlarForm 15000 || e2e_fail "no countdown warning within 15 s of Activate"
}

# Unticked, the warning holds exactly what it held before the postpone existed, at the same
# size and places (tests/e2e/warning.layout, from the release before it).
scenario_warning_unchanged() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  local warning layout
  warning="$(postpone_fire)"
  e2e_dump "$warning"
  layout="$(postpone_layout "$E2E_DUMP")"
  if [[ -n "${QUENLAR_E2E_LAYOUT_OUT:-}" ]]; then echo "$layout" >"$QUENLAR_E2E_LAYOUT_OUT"; fi
  [[ "$layout" == "$(cat "$(dirname "${BASH_SOURCE[0]}")/warning.layout")" ]] ||
    e2e_fail "the warning differs from before: $(diff <(echo "$layout") "$(dirname "${BASH_SOURCE[0]}")/warning.layout")"
  e2e_keys "$warning" Escape
  e2e_expect_box "Action SHUTDOWN, has been cancelled by the user!   "
  e2e_answer OK
  e2e_expect_exit 10 "OK to the cancel message"
  e2e_note "the warning without the postpone: the same controls, texts, sizes and places as before"
}

# Allowed from the menu: Postpone clicked with the mouse after a minute typed into its box; the
# warning goes, the window comes back, the tray tells "(postponed)", and the warning comes again
# a minute later. There /postpone puts it off once more, /status tells it, /a cancels it; no
# request reaches Windows, and the choices are remembered.
scenario_postpone() {
  E2E_DIR="$(e2e_folder "$E2E_JOURNAL")"
  e2e_start_main
  e2e_menu "$E2E_MAIN" t p
  local warning clicked took
  warning="$(postpone_fire)"
  e2e_dump "$warning"
  e2e_expect Button "&Postpone"
  e2e_expect Edit "10"
  e2e_shot "$warning" warning-postpone
  e2e_type_over "$warning" 10 1
  e2e_click "$warning" Button "&Postpone"
  clicked="$(date +%s.%N)"
  drv gone "$warning" 5000 || e2e_fail "the warning stayed after Postpone"
  drv shown "$E2E_MAIN" 5000 || e2e_fail "the main window did not come back after Postpone"
  e2e_wait_for "$E2E_MAIN" Button "De&activate"
  e2e_click "$E2E_MAIN" Button "Mi&nimize to Tray"
  drv gone "$E2E_MAIN" 5000 || e2e_fail "Minimize to Tray left the window on screen"
  local tip
  tip="$(e2e_tray_tip)"
  [[ "$tip" =~ ^Shutdown\ On\ [0-9]{2}-[A-Z][a-z]{2}-[0-9]{2}\ At\ [0-9:]{8}\ [AP]M\ \(postponed\)$ ]] ||
    e2e_fail "the tray icon's tip reads \"$tip\""
  e2e_dump "$E2E_MAIN"
  [[ "$(e2e_caption)" == "$tip" ]] || e2e_fail "the caption reads \"$(e2e_caption)\", not \"$tip\""
  cl_run /status
  [[ "$CL_OUT" =~ ^Shutdown\ On\ .*\ \(postponed\)\;\ [0-9]+\ seconds\ left\.$ ]] || e2e_fail "/status wrote \"$CL_OUT\""
  took="$(when_warning_after "$clicked" 80)"
  (($(echo "$took >= 58 && $took <= 63" | bc))) || e2e_fail "the warning came again $took s after Postpone, not a minute"
  warning="$(drv find "$kWarningTitle" QuenlarForm 1000)"
  cl_expect "/postpone 1" 0 ""
  drv gone "$warning" 5000 || e2e_fail "the warning stayed after /postpone"
  cl_run /status
  [[ "$CL_OUT" =~ \(postponed\)\;\ (5[0-9]|60)\ seconds\ left\.$ ]] || e2e_fail "/status wrote \"$CL_OUT\" after /postpone"
  cl_expect /a 0 ""
  cl_run /postpone
  [[ "$CL_CODE" == 87 && "$(head -n 1 <<<"$CL_OUT")" == "quenlar: /postpone needs a value" ]] ||
    e2e_fail "/postpone without minutes ended with $CL_CODE: $CL_OUT"
  cl_expect "/postpone 5" 1116 "Nothing to postpone: no schedule is active."
  cl_expect /quit 0 ""
  e2e_expect_exit 10 "/quit"
  [[ -z "$(e2e_journal)" ]] || e2e_fail "a postponed and cancelled schedule journaled: $(e2e_journal)"
  e2e_expect_settings_with 25=True 26=1
  e2e_note "Postpone clicked with a minute typed: the warning came again after $took s; tip \"$tip\"; /postpone, /status, /a; nothing journaled"
}
