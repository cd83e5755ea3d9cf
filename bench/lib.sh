# shellcheck shell=bash
# What the benchmarks share: the time, a process's processor time, a median.

# Microseconds since the epoch.
now_us() { echo "${EPOCHREALTIME//[.,]/}"; }

# Processor time of all the process's threads, in nanoseconds: the scheduler's own count, where
# /proc/PID/stat has whole clock ticks (10 ms, a sixth of the goal over a minute). Printed with
# %.0f: this awk's %d stops at 2^31 ns, 2.1 s.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.0f\n", ns}'; }

# The median of whole numbers (of the middle two, their mean cut to a whole number).
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

# The first visible window with this title, if any.
window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

# The Linux process that runs the Windows program started under `timeout` as process $1.
process_of() { pgrep -P "$1" | head -n 1 | grep .; }
