#!/usr/bin/env bash
# The end-to-end runs: the real program under Wine on a private display, driven from outside as
# a user would (mouse and keyboard through xdotool), its windows read by a small driver program
# (tests/win32/programs/e2e_driver.cpp), its settings file, journal and pictures read back.
#
#   tests/e2e/run.sh quenlar.exe quenlar-journal.exe e2e_driver.exe PORT
#
# quenlar.exe itself runs where nothing would act on the computer; elsewhere its journal
# edition, whose power requests and program starts go to quenlar-journal.txt beside it instead,
# and whose update check asks the site this suite serves on 127.0.0.1:PORT. Every scenario has
# a folder of its own for the program. One Wine prefix, wineserver and display serve the whole
# run. Pictures, logs and the pictures of failures go to e2e/ beside quenlar.exe.
#
# QUENLAR_E2E_ONLY="first-start tray ..." runs only the scenarios named.
set -euo pipefail

if [[ $# -ne 4 ]]; then
  echo "usage: $0 quenlar.exe quenlar-journal.exe e2e_driver.exe port" >&2
  exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# A read-only folder is read-only to root only without the capability to override file
# permissions; the whole run (Wine's server included, which opens the files) goes without it.
kNoOverride=--bounding-set=-dac_override,-dac_read_search
if [[ $EUID -eq 0 && -z "${QUENLAR_E2E_CONFINED:-}" ]] && setpriv "$kNoOverride" true 2>/dev/null; then
  export QUENLAR_E2E_CONFINED=1
  exec setpriv "$kNoOverride" -- bash "${BASH_SOURCE[0]}" "$@"
fi

E2E_REAL="$(realpath "$1")"
E2E_JOURNAL="$(realpath "$2")"
E2E_DRIVER="$(realpath "$3")"
E2E_PORT="$4"
E2E_OUT="$(dirname "$E2E_REAL")/e2e"
rm -rf "$E2E_OUT"
mkdir -p "$E2E_OUT"
# The same ANSI code page and language on every host: English, code page 1252.
export LC_ALL=C.UTF-8

# shellcheck source=tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"
# shellcheck source=tests/e2e/scenarios.sh
source "$here/scenarios.sh"
# shellcheck source=tests/e2e/hostile.sh
source "$here/hostile.sh"
# shellcheck source=tests/e2e/details.sh
source "$here/details.sh"
# shellcheck source=tests/e2e/commandline.sh
source "$here/commandline.sh"
# shellcheck source=tests/e2e/when.sh
source "$here/when.sh"
# shellcheck source=tests/e2e/postpone.sh
source "$here/postpone.sh"
# shellcheck source=tests/e2e/startwin.sh
source "$here/startwin.sh"
# shellcheck source=tests/e2e/repeat.sh
source "$here/repeat.sh"
# shellcheck source=tests/e2e/notice.sh
source "$here/notice.sh"
# shellcheck source=tests/e2e/display.sh
source "$here/display.sh"

# In the order they run: name, then the function.
kScenarios=(
  crash-watch scenario_crash_watch
  first-start scenario_first_start
  exit-without-confirmation scenario_exit_without_confirmation
  second-copy scenario_second_copy
  forced-restart scenario_forced_restart
  countdown-cancelled scenario_countdown_cancelled
  alarm scenario_alarm
  alarm-unicode scenario_alarm_unicode
  tray scenario_tray
  previous-settings scenario_previous_settings
  update-check scenario_update_check
  update-silent scenario_update_silent
  alarm-ampersand scenario_alarm_ampersand
  alarm-short scenario_alarm_short
  typing scenario_typing
  tray-tip scenario_tray_tip
  no-action-file scenario_no_action_file
  cl-first-copy scenario_cl_first_copy
  cl-running-copy scenario_cl_running_copy
  cl-refused scenario_cl_refused
  cl-show-quit scenario_cl_show_quit
  when-program scenario_when_program
  when-idle scenario_when_idle
  when-quiet scenario_when_quiet
  when-unicode-name scenario_when_unicode_name
  warning-unchanged scenario_warning_unchanged
  postpone scenario_postpone
  startwin scenario_startwin
  repeat scenario_repeat
  notice scenario_notice
  display-scheduled scenario_display_scheduled
  display-menus scenario_display_menus
  read-only-folder scenario_read_only_folder
  locked-file scenario_locked_file
  huge-file scenario_huge_file
  nul-bytes scenario_nul_bytes
  long-path scenario_long_path
  non-ansi-path scenario_non_ansi_path
)

E2E_WORK="$(mktemp -d "${TMPDIR:-/tmp}/quenlar-e2e.XXXXXX")"
: >"$E2E_WORK/pids"
cleanup() {
  E2E_NAME=cleanup e2e_stop_leftovers
  qw_cleanup
  chmod -R u+w "$E2E_WORK" 2>/dev/null || true
  rm -rf "$E2E_WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

qw_use "$(qw_exe_arch "$E2E_REAL")"
[[ "$(qw_exe_arch "$E2E_JOURNAL")" == "$QW_ARCH" && "$(qw_exe_arch "$E2E_DRIVER")" == "$QW_ARCH" ]] || {
  echo "error: the three programs are not of one edition" >&2
  exit 2
}
run_started=$(date +%s.%N)
qw_prepare
qw_start_xvfb
qw_start_server
confined=""
[[ -n "${QUENLAR_E2E_CONFINED:-}" ]] && confined=", as root without the override of file permissions"
echo "e2e: the $QW_ARCH-bit edition under Wine on display $DISPLAY$confined"

# A scenario that cannot be shown on this host returns this, and counts as skipped.
kSkipped=77
passed=0
failed=()
skipped=()
cd "$E2E_WORK"
for ((n = 0; n < ${#kScenarios[@]}; n += 2)); do
  E2E_NAME="${kScenarios[n]}"
  if [[ -n "${QUENLAR_E2E_ONLY:-}" && " $QUENLAR_E2E_ONLY " != *" $E2E_NAME "* ]]; then continue; fi
  started=$(date +%s.%N)
  E2E_LOG_FROM="$(stat -c %s "$E2E_OUT/program.log" 2>/dev/null || echo 0)"
  # A shell of its own, stopping at its first failing command (not in an `||`, where it would not),
  # and failing if a program crashed on the way.
  set +e
  (
    set -e
    "${kScenarios[n + 1]}"
    e2e_watch
  )
  status=$?
  set -e
  e2e_stop_leftovers
  took="$(printf '%.1f' "$(echo "$(date +%s.%N) - $started" | bc)")"
  if [[ $status -eq 0 ]]; then
    echo "e2e: $E2E_NAME passed in $took s"
    passed=$((passed + 1))
  elif [[ $status -eq $kSkipped ]]; then
    echo "e2e: $E2E_NAME SKIPPED"
    skipped+=("$E2E_NAME")
  else
    echo "e2e: $E2E_NAME FAILED in $took s"
    failed+=("$E2E_NAME")
  fi
done

total="$(printf '%.0f' "$(echo "$(date +%s.%N) - $run_started" | bc)")"
echo "e2e: $passed scenarios passed${failed[*]:+, failed: ${failed[*]}}${skipped[*]:+, skipped: ${skipped[*]}} in $total s (the $QW_ARCH-bit edition); pictures in $E2E_OUT"
if ((passed == 0)); then
  echo "e2e: no scenario passed${QUENLAR_E2E_ONLY:+ (QUENLAR_E2E_ONLY=\"$QUENLAR_E2E_ONLY\" names none that ran)}" >&2
  exit 1
fi
[[ ${#failed[@]} -eq 0 ]]
