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
source "$(dirname "$0")/lib/session.sh"
session_begin

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
  session_track $!
  session_wait_for "$TOLVANE_POWER_SUPPLY/BAT0"
  echo "No battery here: running on a simulated one in $TOLVANE_POWER_SUPPLY (battery-sim)."
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$bin/Tolvane" &
  session_track $!
  wait "${session_pids[-1]}" || true
  exit 0
fi

# Headless: a private X server, session settings kept in the temporary folder.
session_isolate
session_xvfb
if command -v trayer >/dev/null; then
  trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
  session_track $!
  sleep 1
fi

"$bin/Tolvane" &
tolvane=$!
session_track "$tolvane"
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
