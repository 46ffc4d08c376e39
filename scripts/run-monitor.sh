#!/usr/bin/env bash
# run-monitor.sh BIN_DIR: runs the battery monitor from BIN_DIR for real.
#
# - No battery in /sys/class/power_supply (and TOLVANE_POWER_SUPPLY unset): a
#   simulated one is kept in a temporary folder by battery-sim.
# - With a display ($DISPLAY or $WAYLAND_DISPLAY): runs until "&Exit" in the icon's
#   menu (or Ctrl+C, which the monitor takes as Exit).
# - Without one: runs for RUN_SECONDS (15) under Xvfb with a notification area
#   (trayer) when one is installed, saves a screenshot of the screen to SCREENSHOT
#   (BIN_DIR/../tolvane-xvfb.png), then ends the monitor as Exit does and stops
#   everything it started. The headless run keeps its settings in the temporary
#   folder, so the user's own store and autostart folder are left alone.
#
# Environment: RUN_SECONDS, SCREENSHOT, SECONDS_PER_POINT (battery-sim's pace, 10).
set -euo pipefail

bin="$(cd "${1:?usage: run-monitor.sh BIN_DIR}" && pwd)"
run_seconds="${RUN_SECONDS:-15}"
screenshot="${SCREENSHOT:-$(dirname "$bin")/tolvane-xvfb.png}"
work="$(mktemp -d)"
pids=()

stop() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid="${pids[i]}"
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
  done
  pids=()
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

has_battery() {
  local supply
  for supply in /sys/class/power_supply/*; do
    [ -r "$supply/type" ] && [ "$(cat "$supply/type")" = Battery ] && return 0
  done
  return 1
}

if [ -z "${TOLVANE_POWER_SUPPLY:-}" ] && ! has_battery; then
  export TOLVANE_POWER_SUPPLY="$work/power_supply"
  "$bin/battery-sim" --dir "$TOLVANE_POWER_SUPPLY" --percent 80 \
    --seconds-per-point "${SECONDS_PER_POINT:-10}" &
  pids+=($!)
  for _ in $(seq 50); do [ -e "$TOLVANE_POWER_SUPPLY/BAT0" ] && break; sleep 0.1; done
  echo "No battery here: running on a simulated one in $TOLVANE_POWER_SUPPLY (battery-sim)."
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$bin/Tolvane" &
  pids+=($!)
  wait "${pids[-1]}" || true
  exit 0
fi

# Headless: a private X server, session settings kept in the temporary folder.
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
export TOLVANE_REGISTRY="$work/config/tolvane/registry.db"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
if command -v trayer >/dev/null; then
  trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi

"$bin/Tolvane" &
tolvane=$!
pids+=("$tolvane")
echo "Tolvane runs on $DISPLAY for $run_seconds s."
sleep "$run_seconds"
if command -v import >/dev/null; then
  import -window root "$screenshot"
  echo "Screenshot: $screenshot"
fi
# SIGTERM is the monitor's Exit: it removes its icon and ends.
kill -TERM "$tolvane"
status=0
wait "$tolvane" || status=$?
echo "Tolvane ended with status $status."
