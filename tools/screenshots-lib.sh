# shellcheck shell=bash
# Helpers of the picture scripts, sourced after tools/wine/env.sh once their display runs.

# Waits for a visible window with this title other than the ones given; prints its id.
wait_window() { # title [ids to skip...]
  local title="$1" i id
  shift
  for ((i = 0; i < 300; i++)); do
    for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null || true); do
      [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  echo "error: no window '$title'" >&2
  return 1
}
