#!/usr/bin/env bash
# The layers of src/, lowest first: a folder includes only folders of a lower layer (and its own
# files), never one beside or above it. Prints each include that breaks the order and fails on
# any; every folder of src/ must be listed.
#
#   tests/layers/check.sh [SRC]        (SRC defaults to the project's src/)
set -euo pipefail
src="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../src" && pwd)}"

kLayers=(
  "base"                                   # the language's own helpers
  "os ui"                                  # the system's services; the windowing run-time
  "os/win32 os/fake"                       # the services' real and test backends (texts to Windows)
  "ui/win32 ui/headless"                   # the run-time's real windows (on the real texts) and its test backend
  "platform"                               # the running program, its Windows, waits, dialogs
  "schedule settings tray"                 # the schedule value, the settings file, the tray icon
  "power"                                  # the power requests
  "control"                                # the schedule's life: its phases and the action
  "command session"                        # the command line and the running copy; what the windows share
  "about alarm countdown repeat update when"  # the windows beside the main one, the update check
  "app"                                    # the main window and the program's entry
)

declare -A rank=()
for ((i = 0; i < ${#kLayers[@]}; i++)); do
  for folder in ${kLayers[i]}; do rank[$folder]=$i; done
done

# The folder of a path under src/: the deepest one listed ("os/fake" before "os").
folder_of() { # path
  local dir="${1%/*}"
  while [[ -n "$dir" && -z "${rank[$dir]+set}" ]]; do
    [[ "$dir" == */* ]] || { dir=""; break; }
    dir="${dir%/*}"
  done
  echo "$dir"
}

broken=0
while IFS= read -r file; do
  relative="${file#"$src"/}"
  from="$(folder_of "$relative")"
  if [[ -z "$from" ]]; then
    echo "layers: $relative lies in a folder no layer lists" >&2
    broken=1
    continue
  fi
  while IFS= read -r include; do
    to="$(folder_of "$include")"
    [[ -z "$to" || "$to" == "$from" ]] && continue
    if ((rank[$to] >= rank[$from])); then
      echo "layers: $relative includes $include: $to is not below $from" >&2
      broken=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if ((broken)); then
  echo "layers: the order, lowest first: $(printf '%s | ' "${kLayers[@]}")" >&2
  exit 1
fi
echo "layers: every include of $src points down"
