#!/usr/bin/env bash
# quenlar.exe against the floor (a bare window with a 500 ms timer, built here for the same
# edition with the same compiler), under Wine on a private display with a warm wineserver.
# For each program, the median of the runs:
#   start-up    from launch until the window is visible
#   memory      resident set of the program's process, 2 s after its window shows
#   idle CPU    processor time over the measuring period, as a share of one core (all threads)
#   active CPU  the same with a schedule active (quenlar only: Ctrl+A, "In 1 Hours")
# and the size of each exe. Prints a Markdown table.
#
#   QUENLAR_EXE=path/to/quenlar.exe   measure that program (default: the edition the host runs)
#   QUENLAR_BENCH_RUNS=n              runs per program (default 10)
#   QUENLAR_BENCH_SECONDS=s           measuring period for the processor time (default 60)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs="${QUENLAR_BENCH_RUNS:-10}"
period="${QUENLAR_BENCH_SECONDS:-60}"

# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
# shellcheck source=bench/lib.sh
source bench/lib.sh
qw_program
exe="$QW_EXE"
[[ -f "$exe" ]] || { echo "error: $exe not found; build it with: cmake --build --preset win$QW_ARCH" >&2; exit 1; }
arch=$([[ $QW_ARCH == 64 ]] && echo x86_64 || echo i686)

work="$(mktemp -d)"
trap 'qw_cleanup; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
"$arch-w64-mingw32-gcc" -O2 -s -mwindows -Wall -Werror tests/win32/programs/floor.c -o "$work/floor.exe"
mkdir "$work/q" && cp "$exe" "$work/q/quenlar.exe"  # a folder of its own: no settings of other runs

qw_prepare
qw_start_xvfb
qw_start_server

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

# start PROGRAM.exe TITLE: launches it and prints "pid start-up-ms" once its window shows, the
# pid being the program's own process (only that one is measured and stopped).
start() {
  local t0 shown="" pid
  t0=$(now_us)
  qw_wine_bg 600 "$1" </dev/null >/dev/null 2>&1
  while (($(now_us) - t0 < 30000000)); do
    if [[ -n "$(window_of "$2")" ]]; then
      shown=$(now_us)
      break
    fi
    sleep 0.01
  done
  [[ -n "$shown" ]] || { echo "error: $1 showed no window titled $2" >&2; return 1; }
  pid=$(process_of "$QW_PID") || { echo "error: no process for $1" >&2; return 1; }
  echo "$pid $(((shown - t0) / 1000))"
}
stop() { # pid title
  kill "$1" 2>/dev/null || true
  for ((i = 0; i < 500; i++)); do
    [[ -z "$(window_of "$2")" ]] && return 0
    sleep 0.01
  done
}
# Share of one core, in hundredths of a percent, used by a process over the period.
cpu_share() { # pid
  local a b
  a=$(cpu_ns "$1")
  sleep "$period"
  b=$(cpu_ns "$1")
  echo $(((b - a) / (period * 100000)))
}

f_start=() f_mem=() f_idle=() q_start=() q_mem=() q_idle=() q_active=()
read -r fpid _ < <(start "$work/floor.exe" ':: Floor ::') && stop "$fpid" ':: Floor ::'  # page cache
for ((run = 1; run <= runs; run++)); do
  read -r fpid fms < <(start "$work/floor.exe" ':: Floor ::')
  read -r qpid qms < <(start "$work/q/quenlar.exe" ':: Quenlar')
  sleep 2
  f_start+=("$fms") q_start+=("$qms")
  f_mem+=("$(rss_kb "$fpid")") q_mem+=("$(rss_kb "$qpid")")
  # Both idle at once: each process's own processor time is what is counted.
  fshare_file="$work/fshare"
  (cpu_share "$fpid" >"$fshare_file") &
  measuring=$!
  q_idle+=("$(cpu_share "$qpid")")
  wait "$measuring"
  f_idle+=("$(cat "$fshare_file")")
  xdotool key --window "$(window_of ':: Quenlar')" ctrl+a
  sleep 1
  q_active+=("$(cpu_share "$qpid")")
  stop "$fpid" ':: Floor ::'
  stop "$qpid" ':: Quenlar'
  printf 'run %2d: start-up %4d / %4d ms, memory %6d / %6d kB, idle %s / %s, active %s (floor / quenlar, CPU in 1/100 %%)\n' \
    "$run" "$fms" "$qms" "${f_mem[-1]}" "${q_mem[-1]}" "${f_idle[-1]}" "${q_idle[-1]}" "${q_active[-1]}"
done

pct() { printf '%d.%02d %%' $(($1 / 100)) $(($1 % 100)); }
mb() { printf '%d.%d MB' $(($1 / 1024)) $(($1 * 10 / 1024 % 10)); }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f×", b / a}'; }
fs=$(median "${f_start[@]}") qs=$(median "${q_start[@]}")
fm=$(median "${f_mem[@]}") qm=$(median "${q_mem[@]}")
fi_=$(median "${f_idle[@]}") qi=$(median "${q_idle[@]}") qa=$(median "${q_active[@]}")
fz=$(stat -c %s "$work/floor.exe") qz=$(stat -c %s "$exe")
echo
echo "$QW_ARCH-bit edition, Wine $("$QW_LOADER" --version), median of $runs runs, processor time over $period s"
echo
echo "| | floor | quenlar.exe | quenlar / floor |"
echo "|---|---|---|---|"
echo "| start-up to a visible window | $fs ms | $qs ms | $(ratio "$fs" "$qs") |"
echo "| resident memory after start-up | $(mb "$fm") | $(mb "$qm") | $(ratio "$fm" "$qm") |"
echo "| processor time, idle | $(pct "$fi_") | $(pct "$qi") | |"
echo "| processor time, schedule active | | $(pct "$qa") | |"
echo "| exe size | $fz bytes | $qz bytes | |"
echo
echo "Libraries quenlar.exe links at load time (the others are loaded when first used):"
"$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: /  /p'
echo "The floor links:"
"$arch-w64-mingw32-objdump" -p "$work/floor.exe" | sed -n 's/^[[:space:]]*DLL Name: /  /p'
