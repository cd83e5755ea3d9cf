#!/usr/bin/env bash
# What watching costs: the processor time of the program while it waits, with no schedule, with
# a time ("In 1 hour"), and with each condition of "Activate When" armed, under Wine on a private
# display. One copy of the journal edition (nothing would act on this computer) is armed and
# cancelled from the command line for each state in turn; the test suite's sleeper stands in for
# the program waited for. Each state is measured over the period, after 2 s to settle, as the
# time the scheduler counted for all the process's threads (/proc/PID/task/*/schedstat). Prints
# the runs and their medians as Markdown, in percent of one core.
#
#   QUENLAR_BENCH_SECONDS=n   the period of each measurement (default 60)
#   QUENLAR_BENCH_RUNS=n      runs over all the states (default 3)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

period="${QUENLAR_BENCH_SECONDS:-60}"
runs="${QUENLAR_BENCH_RUNS:-3}"

# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
# shellcheck source=bench/lib.sh
source bench/lib.sh
qw_use_default
cmake --preset "win$QW_ARCH" >/dev/null
cmake --build --preset "win$QW_ARCH" --target quenlar-journal sleeper >/dev/null
work="$(mktemp -d)"
cp "build/win$QW_ARCH/quenlar-journal.exe" "$work/quenlar.exe"
cp "build/win$QW_ARCH/sleeper.exe" "$work/"

trap 'qw_cleanup; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
qw_prepare
qw_start_xvfb
qw_start_server

# name, then the switches that arm it ("" for none); none of them comes due within a run.
states=(
  "no schedule" ""
  "In 1 hour" "/l /in 1h"
  "a program ends" "/l /whenexit sleeper.exe"
  "no input for 999 min" "/l /idle 999"
  "processor below 99 % for 999 min" "/l /cpu 99:999"
  "network below 999999 KB/s for 999 min" "/l /net 999999:999"
)

percent() { printf '%d.%02d %%' $(($1 / 100)) $(($1 % 100)); }
quenlar() { # switches...
  local code=0
  qw_wine 30 "$work/quenlar.exe" "$@" </dev/null >/dev/null 2>&1 || code=$?
  ((code == 0)) || { echo "error: quenlar.exe $* ended with $code" >&2; exit 1; }
}

qw_wine_bg $((runs * ${#states[@]} * (period + 20) + 600)) "$work/sleeper.exe" 86400 </dev/null >/dev/null 2>&1
sleeper="$QW_PID"
qw_wine_bg $((runs * ${#states[@]} * (period + 20) + 600)) "$work/quenlar.exe" </dev/null >/dev/null 2>&1
runner="$QW_PID"
for ((i = 0; i < 300; i++)); do
  [[ -n "$(window_of ':: Quenlar')" ]] && break
  sleep 0.1
done
pid="$(process_of "$runner")" || { echo "error: the program did not start" >&2; exit 1; }
echo "$QW_ARCH-bit edition, $("$QW_LOADER" --version), $runs runs of $period s, processor time in percent of one core"
echo

declare -A shares
for ((run = 1; run <= runs; run++)); do
  for ((s = 0; s < ${#states[@]}; s += 2)); do
    # shellcheck disable=SC2086 # the switches
    [[ -z "${states[s + 1]}" ]] || quenlar ${states[s + 1]}
    sleep 2
    a=$(cpu_ns "$pid")
    sleep "$period"
    b=$(cpu_ns "$pid")
    [[ -d "/proc/$pid" ]] || { echo "error: the program ended during \"${states[s]}\" of run $run" >&2; exit 1; }
    shares[$s]+="$(((b - a) / (period * 100000))) "
    [[ -z "${states[s + 1]}" ]] || quenlar /a
  done
done
quenlar /quit
wait "$runner" 2>/dev/null || true
kill "$sleeper" 2>/dev/null || true

header="| waiting for | switches |" rule="|---|---|"
for ((run = 1; run <= runs; run++)); do header+=" run $run |" rule+="---|"; done
echo "$header median |"
echo "$rule---|"
for ((s = 0; s < ${#states[@]}; s += 2)); do
  row="| ${states[s]} | ${states[s + 1]:+\`${states[s + 1]}\`} |"
  # shellcheck disable=SC2206 # the figures
  figures=(${shares[$s]})
  for f in "${figures[@]}"; do row+=" $(percent "$f") |"; done
  echo "$row $(percent "$(median "${figures[@]}")") |"
done
