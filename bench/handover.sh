#!/usr/bin/env bash
# A copy that only hands its switches to the running one, against the first copy's start-up,
# in the same run, under Wine on a private display with a warm wineserver. For each run:
#   start-up    the first copy, from launch until its window is visible
#   hand-over   a later copy with /status, from launch until it has ended (it makes no window)
#   refused     a copy with a refused command line (/bogus), from launch until it has ended
# Prints the runs and their medians as Markdown.
#
#   QUENLAR_EXE=path/to/quenlar.exe   measure that program (default: the edition the host runs)
#   QUENLAR_BENCH_RUNS=n              runs (default 10)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs="${QUENLAR_BENCH_RUNS:-10}"

# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
# shellcheck source=bench/lib.sh
source bench/lib.sh
qw_program
exe="$QW_EXE"
[[ -f "$exe" ]] || { echo "error: $exe not found; build it with: cmake --build --preset win$QW_ARCH" >&2; exit 1; }

work="$(mktemp -d)"
trap 'qw_cleanup; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
cp "$exe" "$work/quenlar.exe"

qw_prepare
qw_start_xvfb
qw_start_server

# Milliseconds a copy takes from launch to its end.
lasts() { # switches...
  local t0
  t0=$(now_us)
  qw_wine 60 "$work/quenlar.exe" "$@" </dev/null >/dev/null 2>&1 || true
  echo $((($(now_us) - t0) / 1000))
}

qw_wine 60 "$work/quenlar.exe" /bogus </dev/null >/dev/null 2>&1 || true  # the page cache
starts=() handovers=() refusals=()
echo "| run | start-up (ms) | hand-over /status (ms) | refused /bogus (ms) |"
echo "|---|---|---|---|"
for ((run = 1; run <= runs; run++)); do
  t0=$(now_us)
  qw_wine_bg 600 "$work/quenlar.exe" </dev/null >/dev/null 2>&1
  first="$QW_PID"
  while [[ -z "$(window_of ':: Quenlar')" ]]; do
    (($(now_us) - t0 < 30000000)) || { echo "error: the first copy showed no window" >&2; exit 1; }
    sleep 0.01
  done
  starts+=($((($(now_us) - t0) / 1000)))
  sleep 1
  handovers+=("$(lasts /status)")
  refusals+=("$(lasts /bogus)")
  echo "| $run | ${starts[-1]} | ${handovers[-1]} | ${refusals[-1]} |"
  lasts /quit >/dev/null
  wait "$first" 2>/dev/null || true
done
echo
echo "Medians of $runs runs ($QW_ARCH-bit edition): start-up $(median "${starts[@]}") ms," \
  "hand-over $(median "${handovers[@]}") ms, refused $(median "${refusals[@]}") ms."
