#!/usr/bin/env bash
# Start-up time of quenlar.exe under Wine: from launch until its main window is visible, with
# a warm wineserver, on a private Xvfb. Prints each run, the median, the size of the exe and
# the DLLs it imports. Measures the 32-bit edition where the host runs 32-bit code, otherwise
# the 64-bit one, and says which.
#
#   QUENLAR_EXE=path/to/program.exe   measure that program instead of build/win32|win64/quenlar.exe
#   QUENLAR_BENCH_RUNS=n              number of measured runs (default 10)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh
if [[ -n "${QUENLAR_EXE:-}" ]]; then
  exe="$(realpath -m "$QUENLAR_EXE")"
  [[ -f "$exe" ]] && qw_use "$(qw_exe_arch "$exe")"
else
  qw_use_default
  exe="$(realpath -m "build/win$QW_ARCH/quenlar.exe")"
fi
runs="${QUENLAR_BENCH_RUNS:-10}"
if [[ ! -f "$exe" ]]; then
  echo "error: $exe not found; build it with: cmake --preset win$QW_ARCH && cmake --build --preset win$QW_ARCH" >&2
  exit 1
fi
echo "edition: $QW_ARCH-bit"
trap qw_cleanup EXIT
trap 'exit 130' INT TERM
qw_prepare
qw_start_xvfb
qw_start_server

find_window() {
  xdotool search --onlyvisible --name ':: Quenlar' 2>/dev/null | head -n 1 || true
}

# Microseconds since the epoch.
now_us() { echo "${EPOCHREALTIME//[.,]/}"; }

# Starts the program and prints the milliseconds until its window is visible, then ends
# that instance by killing its wine process; the wineserver stays warm.
start_once() {
  local t0 shown="" i
  t0=$(now_us)
  qw_wine_bg 60 "$exe" </dev/null >/dev/null 2>&1
  while (($(now_us) - t0 < 20000000)); do
    if [[ -n "$(find_window)" ]]; then
      shown=$(now_us)
      break
    fi
    if ! kill -0 "$QW_PID" 2>/dev/null; then
      echo "error: $exe ended before showing its window" >&2
      return 1
    fi
    sleep 0.01
  done
  kill "$QW_PID" 2>/dev/null || true # timeout passes the signal on to wine
  wait "$QW_PID" 2>/dev/null || true
  for ((i = 0; i < 500; i++)); do # the window goes with its process
    [[ -z "$(find_window)" ]] && break
    sleep 0.01
  done
  if [[ -z "$shown" ]]; then
    echo "error: no visible window titled ':: Quenlar' after 20 s" >&2
    return 1
  fi
  echo $(((shown - t0) / 1000))
}

start_once >/dev/null # the first start also loads Wine's own DLLs into the page cache
times=()
for ((run = 1; run <= runs; run++)); do
  ms="$(start_once)"
  times+=("$ms")
  printf 'run %2d: %5d ms\n' "$run" "$ms"
done

mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
n=${#sorted[@]}
if ((n % 2)); then
  median=${sorted[n / 2]}
else
  median=$(((sorted[n / 2 - 1] + sorted[n / 2]) / 2))
fi
echo "median: $median ms over $n runs (warm wineserver, Xvfb, window visible)"
echo "exe: $exe, $(stat -c %s "$exe") bytes"
echo "imports:"
"$([[ $QW_ARCH == 64 ]] && echo x86_64 || echo i686)-w64-mingw32-objdump" -p "$exe" | grep 'DLL Name' | sed 's/^[[:space:]]*DLL Name:/ /'
