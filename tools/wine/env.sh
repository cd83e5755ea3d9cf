# shellcheck shell=bash disable=SC2034 # QW_PID is read by the scripts that source this file
# Wine environment for running quenlar.exe and its tests. Source it from bash, then:
#
#   qw_editions                    sets QW_EDITIONS to the editions this host can run ("32",
#                                  "64", both or none) and QW_SKIPPED to why others cannot
#   qw_use 32|64                   chooses the edition's Wine: its loader and its own prefix
#   qw_use_default                 chooses the first edition the host runs (32-bit where it can)
#   qw_build_default TARGET...     the same, then builds those targets of that edition
#   qw_exe_arch prog.exe           32 or 64, read from the program's header
#   qw_program [TARGET...]         the program a script runs: QUENLAR_EXE if set, else the default
#                                  edition's build/winNN/quenlar.exe (those targets built first);
#                                  its path in QW_EXE, its edition chosen
#   qw_prepare                     takes the prefix (waits while another script has it),
#                                  creating it and Wine's private HOME the first time
#   qw_start_xvfb                  private X server on a free display; exports DISPLAY
#   qw_start_server                keeps the wineserver warm between programs
#   qw_wine SECONDS prog.exe ...   wine under a time limit
#   qw_wine_bg SECONDS prog.exe    the same in the background, process id in QW_PID
#   qw_cleanup                     stops the wineserver and our Xvfb, releases the prefix
#
# Two editions: the 32-bit one (i686) runs where the host runs 32-bit code and wine32 is
# installed; the 64-bit one (x86_64) wherever wine64 is installed. Some hosts run 64-bit code
# only, and Debian's `wine` script still picks the 32-bit loader there, so the loader of the
# chosen edition is started directly. QUENLAR_WINE_ARCH=32 or 64 forces one edition.
#
# QUENLAR_DPI=N uses a prefix whose display has N dots per inch (build/wineprefix-64-dpiN).
# QUENLAR_WINE_PREFIX chooses the prefix (default build/wineprefix-32 or -64 in this
# repository); each edition needs its own, as a prefix is made for one architecture.
#
# One script at a time uses a prefix. Scripts cannot safely share one: the wineserver and its
# explorer.exe (the system tray among others) stay on the display of whoever started them,
# and break when that script's Xvfb goes away. A second script waits for the first, up to
# QUENLAR_WINE_WAIT seconds (default 60). File descriptor 9 holds the lock.

QUENLAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries or file associations written.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

QW_LOADER32=/usr/lib/wine/wine
QW_LOADER64=/usr/lib/wine/wine64
QW_SKIPPED=""
QW_ARCH=""
QW_LOADER=""

# Whether a loader starts at all: a 32-bit one on a host without IA-32 emulation fails with
# "Exec format error" before it prints anything.
qw_loader_runs() {
  [[ -x "$1" ]] && "$1" --version >/dev/null 2>&1
}

qw_editions() {
  local want="${QUENLAR_WINE_ARCH:-}"
  QW_EDITIONS=""
  QW_SKIPPED=""
  case "$want" in
    "" | 32 | 64) ;;
    *)
      echo "error: QUENLAR_WINE_ARCH is '$want'; use 32 or 64" >&2
      return 1
      ;;
  esac
  if [[ "$want" == 64 ]]; then
    QW_SKIPPED+="32-bit edition: QUENLAR_WINE_ARCH=64 chose the 64-bit one only; "
  elif [[ ! -x "$QW_LOADER32" ]]; then
    QW_SKIPPED+="32-bit edition: wine32 is not installed ($QW_LOADER32 missing); "
  elif ! qw_loader_runs "$QW_LOADER32"; then
    QW_SKIPPED+="32-bit edition: this host runs no 32-bit code ($QW_LOADER32 does not start); "
  else
    QW_EDITIONS+=" 32"
  fi
  if [[ "$want" == 32 ]]; then
    QW_SKIPPED+="64-bit edition: QUENLAR_WINE_ARCH=32 chose the 32-bit one only; "
  elif [[ ! -x "$QW_LOADER64" ]]; then
    QW_SKIPPED+="64-bit edition: wine64 is not installed ($QW_LOADER64 missing); "
  elif ! qw_loader_runs "$QW_LOADER64"; then
    QW_SKIPPED+="64-bit edition: $QW_LOADER64 does not start; "
  else
    QW_EDITIONS+=" 64"
  fi
  QW_SKIPPED="${QW_SKIPPED%; }"
  QW_EDITIONS="${QW_EDITIONS# }"
}

# The machine field of a PE file: 0x014c for i386, 0x8664 for x86-64.
qw_exe_arch() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
  case "$machine" in
    014c) echo 32 ;;
    8664) echo 64 ;;
    *)
      echo "error: $1 is not a 32-bit or 64-bit x86 Windows program (machine $machine)" >&2
      return 1
      ;;
  esac
}

qw_use() {
  QW_ARCH="$1"
  case "$QW_ARCH" in
    32) QW_LOADER="$QW_LOADER32" ;;
    64) QW_LOADER="$QW_LOADER64" ;;
    *)
      echo "error: no Wine edition '$1'; use 32 or 64" >&2
      return 1
      ;;
  esac
  export WINEARCH="win$QW_ARCH"
  # Wine starts its own helper programs with this loader, never with Debian's `wine` script.
  export WINELOADER="$QW_LOADER"
  # QUENLAR_DPI (96, 120, 144, 192...) gives a prefix of its own whose display has that many
  # dots per inch, as the Display settings' scale gives Windows.
  export WINEPREFIX="${QUENLAR_WINE_PREFIX:-$QUENLAR_ROOT/build/wineprefix-$QW_ARCH${QUENLAR_DPI:+-dpi$QUENLAR_DPI}}"
  # Our own files live inside the prefix, so deleting the prefix resets everything.
  QW_DIR="$WINEPREFIX/.quenlar"
  # Wine's HOME: the prefix links Desktop, Documents and so on to it, and its .asoundrc gives
  # a silent sound device, so media plays without a sound card.
  QW_HOME="$QW_DIR/home"
  # Bump the number when the prefix settings in qw_prepare change, so old prefixes get them.
  QW_READY="$QW_DIR/ready-1"
}

# Until a script chooses, the edition is the one the host runs first: 32-bit where it can.
qw_use_default() {
  qw_editions || return 1
  if [[ -z "$QW_EDITIONS" ]]; then
    echo "error: this host can run neither Windows edition under Wine: $QW_SKIPPED" >&2
    return 1
  fi
  qw_use "${QW_EDITIONS%% *}"
}

# Chooses the first edition the host runs and builds the given targets of it, quietly.
qw_build_default() { # targets...
  qw_use_default || return 1
  cmake --preset "win$QW_ARCH" >/dev/null && cmake --build --preset "win$QW_ARCH" --target "$@" >/dev/null
}

qw_program() { # [targets to build]...
  if [[ -n "${QUENLAR_EXE:-}" ]]; then
    QW_EXE="$(realpath -m "$QUENLAR_EXE")"
    qw_use "$(qw_exe_arch "$QW_EXE")"
  else
    if [[ $# -gt 0 ]]; then qw_build_default "$@" || return 1; else qw_use_default || return 1; fi
    QW_EXE="$QUENLAR_ROOT/build/win$QW_ARCH/quenlar.exe"
  fi
}

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
  qw_run timeout -k 5 "$limit" "$QW_LOADER" "$@"
}

# Same in the background; QW_PID is its process. Not `qw_wine ... &`, which would leave a
# subshell holding the prefix lock for as long as the program runs, even after this script.
qw_wine_bg() {
  local limit="$1"
  shift
  HOME="$QW_HOME" timeout -k 5 "$limit" "$QW_LOADER" "$@" 9>&- &
  QW_PID=$!
}

qw_prepare() {
  if [[ -z "$QW_ARCH" ]]; then qw_use_default || return 1; fi
  if ! qw_loader_runs "$QW_LOADER"; then
    echo "error: the $QW_ARCH-bit edition cannot run on this host: $QW_LOADER does not start" \
      "(not installed, or a host that runs no $QW_ARCH-bit code)" >&2
    return 1
  fi
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
    echo "Creating the $QW_ARCH-bit Wine prefix $WINEPREFIX (once, about 10 s)..." >&2
    printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$QW_HOME/.asoundrc"
    # Booted without a display, so nothing pops up whatever $DISPLAY the caller has.
    if ! (unset DISPLAY
          qw_run timeout -k 5 120 "$QW_LOADER" wineboot -i &&
          # Debian's Wine does not find the fonts it ships (Tahoma for MS Shell Dlg, MS Sans
          # Serif, Marlett for the caption buttons) unless they are in C:\windows\Fonts;
          # otherwise every one of those falls back to Liberation Sans.
          cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" &&
          # Without a window manager, each hide or dialog close would wait 2 s for one.
          qw_wine 60 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
          # A crash ends the program with an error code instead of opening a crash dialog.
          qw_wine 60 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
          { [[ -z "${QUENLAR_DPI:-}" ]] ||
            qw_wine 60 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUENLAR_DPI" /f; } &&
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
