#!/usr/bin/env bash
# Figures for the moment of the action, under Wine on a private Xvfb, with the program's real
# windows, timers, tone and waits and its power requests only recorded (tests/win32/programs/firing_bench.cpp):
#   - the delay from the start of the target second to the countdown window on screen (5 runs);
#   - the length of a 30-second countdown with beeps and without;
#   - the processor time over 60 s of an active schedule, and over a 60-second WaitSeconds;
# and a picture of the countdown window in docs/countdown-window.png. Builds firing_bench.exe
# for the first Windows edition the host runs.
#
#   QUENLAR_BENCH_SECONDS=n   length of the two processor-time measurements (default 60)
#   QUENLAR_BENCH_RUNS=n      runs of the delay measurement (default 5)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
qw_use_default
seconds="${QUENLAR_BENCH_SECONDS:-60}"
runs="${QUENLAR_BENCH_RUNS:-5}"
cmake --preset "win$QW_ARCH" >/dev/null
cmake --build --preset "win$QW_ARCH" --target firing_bench >/dev/null
work="$(mktemp -d)"
cp "build/win$QW_ARCH/firing_bench.exe" "$work/" # its own folder for the settings file it writes
exe="$work/firing_bench.exe"

trap 'qw_cleanup; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
qw_prepare
qw_start_xvfb
qw_start_server
echo "edition: $QW_ARCH-bit, Wine $("$QW_LOADER" --version)"

# Runs one measurement and prints its lines without Windows line ends. Between the program's
# lines "measure_start" and "measure_end", the processor time Linux counts for the whole
# process (all its threads, user and system) is read from /proc, and printed as "host_cpu_ms".
measure() {
  local out="$work/out.txt" pid="" start="" end="" i
  : >"$out"
  HOME="$QW_HOME" timeout -k 5 $((seconds + 60)) "$QW_LOADER" "$exe" "$@" </dev/null >"$out" 2>/dev/null 9>&- &
  local runner=$!
  for ((i = 0; i < 12000; i++)); do
    [[ -z "$pid" ]] && pid="$(pgrep -P "$runner" | head -n 1 || true)"
    if [[ -z "$start" ]] && grep -q measure_start "$out"; then start="$(cpu_ms "$pid")"; fi
    if [[ -n "$start" ]] && grep -q measure_end "$out"; then end="$(cpu_ms "$pid")"; break; fi
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.01
  done
  wait "$runner" || true
  tr -d '\r' <"$out" | grep -v '^measure_'
  if [[ -n "$start" && -n "$end" ]]; then echo "host_cpu_ms $((end - start))"; fi
}
# Processor time of a process in milliseconds: fields 14 and 15 of its stat line (after the
# command name, which may hold blanks, fields 12 and 13).
cpu_ms() { sed 's/.*) //' "/proc/$1/stat" | awk -v hz="$(getconf CLK_TCK)" '{ print int(($12 + $13) * 1000 / hz) }'; }
value() { sed -n "s/^$1 //p"; }

# Takes the picture of the countdown window a few seconds into its count.
shoot() {
  local window="" i
  for ((i = 0; i < 300; i++)); do
    window="$(xdotool search --onlyvisible --name ' Warning!' 2>/dev/null | head -n 1 || true)"
    [[ -n "$window" ]] && break
    sleep 0.05
  done
  [[ -n "$window" ]] || return 0
  sleep 3.2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  mkdir -p docs
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage docs/countdown-window.png
  echo "picture: docs/countdown-window.png (${WIDTH}x${HEIGHT})"
}

out="$(measure busy)"
echo "check: a busy loop of 500 ms (wall clock) read as $(value host_cpu_ms <<<"$out") ms of processor time by the host," \
  "$(value busy_cpu_ms <<<"$out") ms by GetProcessTimes"

delays=()
for ((run = 1; run <= runs; run++)); do
  ms="$(measure delay | value delay_ms)"
  delays+=("$ms")
  printf 'delay run %d: %s ms from the target second to the countdown window on screen\n' "$run" "$ms"
done
printf 'delay: %s ms at most over %d runs\n' "$(printf '%s\n' "${delays[@]}" | sort -n | tail -n 1)" "$runs"

shoot &
shooter=$!
out="$(measure countdown beep)"
wait "$shooter" || true
echo "countdown of 30 s with beeps: $(value countdown_s <<<"$out") s, $(value beeps <<<"$out") beeps"
out="$(measure countdown mute)"
echo "countdown of 30 s muted: $(value countdown_s <<<"$out") s, $(value beeps <<<"$out") beeps"

out="$(measure schedule "$seconds")"
echo "active schedule: $(value host_cpu_ms <<<"$out") ms of processor time over $(value schedule_wall_s <<<"$out") s" \
  "($(value schedule_cpu_ms <<<"$out") ms by GetProcessTimes)"
out="$(measure wait "$seconds")"
echo "WaitSeconds($seconds): $(value host_cpu_ms <<<"$out") ms of processor time over $(value wait_wall_s <<<"$out") s" \
  "($(value wait_cpu_ms <<<"$out") ms by GetProcessTimes)"
