# shellcheck shell=bash disable=SC2034 # QW_PID is read by the scripts that source this file
# Wine environment for running quenlar.exe and its tests. Source it from bash, then:
#
#   qw_prepare                     takes the prefix (waits while another script has it),
#                                  creating it and Wine's private HOME the first time
#   qw_start_xvfb                  private X server on a free display; exports DISPLAY
#   qw_start_server                keeps the wineserver warm between programs
#   qw_wine SECONDS prog.exe ...   wine under a time limit
#   qw_wine_bg SECONDS prog.exe    the same in the background, process id in QW_PID
#   qw_cleanup                     stops the wineserver and our Xvfb, releases the prefix
#
# QUENLAR_WINE_PREFIX chooses the prefix (default build/wineprefix in this repository).
#
# One script at a time uses a prefix. Scripts cannot safely share one: the wineserver and its
# explorer.exe (the system tray among others) stay on the display of whoever started them,
# and break when that script's Xvfb goes away. A second script waits for the first, up to
# QUENLAR_WINE_WAIT seconds (default 60). File descriptor 9 holds the lock.

QUENLAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${QUENLAR_WINE_PREFIX:-$QUENLAR_ROOT/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries or file associations written.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Our own files live inside the prefix, so deleting the prefix resets everything.
QW_DIR="$WINEPREFIX/.quenlar"
# Wine's HOME: the prefix links Desktop, Documents and so on to it, and its .asoundrc gives a
# silent sound device, so media plays without a sound card.
QW_HOME="$QW_DIR/home"
# Bump the number when the prefix settings in qw_prepare change, so old prefixes get them.
QW_READY="$QW_DIR/ready-1"
QW_XVFB_PID=""
QW_PID=""
QW_TMP=""
QW_HELD=""

# Runs a command with Wine's HOME and without the lock descriptor, so that long-lived
# children (wineserver, explorer.exe) never hold the prefix lock.
qw_run() {
  HOME="$QW_HOME" "$@" 9>&-
}

# qw_wine SECONDS ARGS... : wine, killed after SECONDS (and 5 s later with SIGKILL).
qw_wine() {
  local limit="$1"
  shift
  qw_run timeout -k 5 "$limit" wine "$@"
}

# Same in the background; QW_PID is its process. Not `qw_wine ... &`, which would leave a
# subshell holding the prefix lock for as long as the program runs, even after this script.
qw_wine_bg() {
  local limit="$1"
  shift
  HOME="$QW_HOME" timeout -k 5 "$limit" wine "$@" 9>&- &
  QW_PID=$!
}

qw_prepare() {
  QW_TMP="$(mktemp -d "${TMPDIR:-/tmp}/quenlar-wine.XXXXXX")"
  mkdir -p "$QW_HOME"
  exec 9>>"$QW_DIR/lock"
  if ! flock -xn 9; then
    echo "Waiting for another script using the Wine prefix: $(cat "$QW_DIR/holder" 2>/dev/null)" >&2
    if ! flock -x -w "${QUENLAR_WINE_WAIT:-60}" 9; then
      echo "error: the Wine prefix $WINEPREFIX is still in use; close that program" \
        "or set QUENLAR_WINE_PREFIX to another folder" >&2
      exec 9>&-
      return 1
    fi
  fi
  QW_HELD=1
  echo "pid $$: $0" >"$QW_DIR/holder"

  # Leftovers of a script that was killed before its cleanup.
  qw_run wineserver -k 2>/dev/null || true
  if [[ -r "$QW_DIR/xvfb.pid" ]]; then
    local old
    old="$(cat "$QW_DIR/xvfb.pid")"
    if [[ "$(cat "/proc/$old/comm" 2>/dev/null)" == Xvfb ]]; then kill "$old" || true; fi
    rm -f "$QW_DIR/xvfb.pid"
  fi

  if [[ ! -e "$QW_READY" ]]; then
    echo "Creating the Wine prefix $WINEPREFIX (once, about 10 s)..." >&2
    printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$QW_HOME/.asoundrc"
    # Booted without a display, so nothing pops up whatever $DISPLAY the caller has.
    if ! (unset DISPLAY
          qw_run timeout -k 5 120 wineboot -i &&
          # Debian's Wine does not find the fonts it ships (Tahoma for MS Shell Dlg, MS Sans
          # Serif, Marlett for the caption buttons) unless they are in C:\windows\Fonts;
          # otherwise every one of those falls back to Liberation Sans.
          cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" &&
          # Without a window manager, each hide or dialog close would wait 2 s for one.
          qw_wine 60 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
          # A crash ends the program with an error code instead of opening a crash dialog.
          qw_wine 60 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
          qw_run wineserver -k # also writes the registry to disk
         ) >"$QW_TMP/wineboot.log" 2>&1; then
      cat "$QW_TMP/wineboot.log" >&2
      echo "error: could not create the Wine prefix $WINEPREFIX" >&2
      return 1
    fi
    touch "$QW_READY"
  fi
}

# Starts a private Xvfb; the server picks a free display number and reports it on fd 3.
qw_start_xvfb() {
  local numfile="$QW_TMP/display" i
  : >"$numfile"
  # Started directly (not through qw_run) so that $! is the server itself.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$numfile" >"$QW_TMP/xvfb.log" 2>&1 9>&- &
  QW_XVFB_PID=$!
  echo "$QW_XVFB_PID" >"$QW_DIR/xvfb.pid"
  for ((i = 0; i < 100; i++)); do
    if [[ -s "$numfile" ]]; then
      DISPLAY=":$(tr -dc 0-9 <"$numfile")"
      export DISPLAY
      return 0
    fi
    kill -0 "$QW_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  cat "$QW_TMP/xvfb.log" >&2
  echo "error: Xvfb did not start" >&2
  return 1
}

# A warm wineserver starts each program in ~0.2 s instead of ~0.7 s.
qw_start_server() {
  qw_run wineserver -p || true # exits 2 when one is already running
}

# Stops every Wine program of the prefix, its wineserver and our Xvfb, then lets the next
# script have the prefix. Safe to call more than once.
qw_cleanup() {
  if [[ -n "$QW_HELD" ]]; then
    qw_run wineserver -k 2>/dev/null || true
  fi
  if [[ -n "$QW_XVFB_PID" ]]; then
    kill "$QW_XVFB_PID" 2>/dev/null || true
    wait "$QW_XVFB_PID" 2>/dev/null || true
    rm -f "$QW_DIR/xvfb.pid"
    QW_XVFB_PID=""
  fi
  if [[ -n "$QW_HELD" ]]; then
    rm -f "$QW_DIR/holder"
    exec 9>&-
    QW_HELD=""
  fi
  if [[ -n "$QW_TMP" ]]; then
    rm -rf "$QW_TMP"
    QW_TMP=""
  fi
}
