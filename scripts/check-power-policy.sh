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
work="$(mktemp -d)"
pids=()

stop() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap stop EXIT

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

exec 3>"$work/display"
Xvfb -displayfd 3 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_for 10 test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" 2>/dev/null &
pids+=($!)
wait_for 10 test -S "$work/bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
"$build/tests/fake_power_profiles" "$DBUS_SYSTEM_BUS_ADDRESS" "$work" &
pids+=($!)

export TOLVANE_POWER_SUPPLY="$work/power_supply"
"$build/bin/battery-sim" --dir "$TOLVANE_POWER_SUPPLY" --percent 80 --seconds-per-point 60 &
pids+=($!)
wait_for 10 test -e "$TOLVANE_POWER_SUPPLY/BAT0"

export TOLVANE_REGISTRY="$work/registry.db"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
found="$(xset q | awk '/timeout:/ {print $2}')"
echo "screen-saver timeout at start: $found s"

QT_QPA_PLATFORM=xcb "$build/bin/Tolvane" 2>"$work/tolvane.err" &
monitor=$!
pids+=($monitor)
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

kill -TERM "$monitor"
wait "$monitor" 2>/dev/null || true
if saver "$found"; then
  echo "after the monitor ended: the timeout is $found s again"
else
  echo "FAILED: the timeout was not restored"
  status=1
fi
echo "--- the monitor's notes:"
cat "$work/tolvane.err"
exit $status
