#!/usr/bin/env bash
# Runs a Windows test program under Wine: CTest's emulator for the win32 and win64 builds.
# The program's own header tells which edition's Wine runs it.
#
#   tools/wine/run-test.sh path/to/quenlar_win32_tests.exe [--gtest_filter=...]
#
# Uses the private prefix and always a private Xvfb (never the caller's $DISPLAY, so tests
# never open windows on the user's screen). Exits with the program's exit code; a program
# still running after QUENLAR_WINE_TIMEOUT seconds (default 240) is killed, exit code 124.
set -euo pipefail

if [[ $# -lt 1 ]]; then
  echo "usage: $0 program.exe [args...]" >&2
  exit 2
fi

# shellcheck source=tools/wine/env.sh
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
trap qw_cleanup EXIT
trap 'exit 130' INT TERM

qw_use "$(qw_exe_arch "$1")"
qw_prepare
qw_start_xvfb
qw_start_server

# A GUI-subsystem program's stdout and stderr do reach wine's when those are pipes or files.
# On a terminal, wine routes them through its console emulator instead, which wraps every
# character in cursor escapes and takes over stdin. So stdin is /dev/null and both streams go
# through sed, which also turns the program's CRLF line ends into LF.
# - stdout is a pipeline, whose status (pipefail) is wine's exit code, the program's.
# - stderr is a process substitution, not a pipe to wait for: wine's background processes
#   (services.exe and others) keep it open until the wineserver stops in qw_cleanup.
# - wine is started directly, not through qw_wine, so no shell stays behind holding the
#   prefix lock (fd 9): if this script is killed, the next one takes the prefix at once.
limit="${QUENLAR_WINE_TIMEOUT:-240}"
status=0
HOME="$QW_HOME" timeout -k 5 "$limit" "$QW_LOADER" "$@" </dev/null 9>&- \
  2> >(sed -u 's/\r$//' >&2 9>&-) | sed -u 's/\r$//' 9>&- || status=$?
if [[ $status -eq 124 ]]; then
  echo "error: $1 did not finish within $limit s" >&2
fi
exit "$status"
