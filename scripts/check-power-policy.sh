#!/usr/bin/env bash
# check-power-policy.sh BUILD_DIR: the power-policy applier in a whole run, on
# nothing of this machine's own. A private Xvfb, a private D-Bus standing in for the
# system and session buses with the stand-in power-profiles-daemon on it, a simulated
# battery and a private store. The monitor runs on battery; Vantrel's window logic
# (through the scenario runner and the real powercfg) makes "Max Battery" active.
# Within one refresh (5 s) the daemon must hold power-saver and the X screen-saver
# timeout read 60 s; when the monitor ends, the timeout found at start is back.
set -euo pipefail

build="$(cd "${1:?usage: check-power-policy.sh BUILD_DIR}" && pwd)"
source "$(dirname "$0")/lib/session.sh"
session_begin
session_isolate

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

session_xvfb
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" 2>/dev/null &
session_track $!
wait_for 10 test -S "$work/bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
"$build/tests/fake_power_profiles" "$DBUS_SYSTEM_BUS_ADDRESS" "$work" &
session_track $!

export TOLVANE_POWER_SUPPLY="$work/power_supply"
"$build/bin/battery-sim" --dir "$TOLVANE_POWER_SUPPLY" --percent 80 --seconds-per-point 60 &
session_track $!
wait_for 10 test -e "$TOLVANE_POWER_SUPPLY/BAT0"

found="$(xset q | awk '/timeout:/ {print $2}')"
echo "screen-saver timeout at start: $found s"

"$build/bin/Tolvane" 2>"$work/tolvane.err" &
monitor=$!
session_track "$monitor"
wait_for 10 grep -q 'not applied' "$work/tolvane.err"
sleep 1

printf '%s\n' 'start vantrel' 'select cboSchemes "Max Battery"' 'click cmdSet' \
  | "$build/bin/scenario" - >/dev/null
set_at=$(date +%s%N)
echo "Vantrel made \"Max Battery\" active"

saver() { [ "$(xset q | awk '/timeout:/ {print $2}')" = "$1" ]; }
profile() { grep -q "ActiveProfile $1\$" "$work/calls" 2>/dev/null; }
status=0
if wait_for 6 profile power-saver && wait_for 1 saver 60; then
  echo "after $((($(date +%s%N) - set_at) / 1000000)) ms: the daemon holds power-saver, the screen-saver timeout reads 60 s"
else
  echo "FAILED: profile calls: $(cat "$work/calls" 2>/dev/null); timeout: $(xset q | awk '/timeout:/ {print $2}')"
  status=1
fi

session_stop "$monitor"
if saver "$found"; then
  echo "after the monitor ended: the timeout is $found s again"
else
  echo "FAILED: the timeout was not restored"
  status=1
fi
echo "--- the monitor's notes:"
cat "$work/tolvane.err"
exit $status
