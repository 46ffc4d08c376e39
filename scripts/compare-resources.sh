#!/usr/bin/env bash
# compare-resources.sh BIN_DIR [MINUTES]: the battery monitor's resource use, measured
# from outside, beside cbatticon's, both under the same Xvfb with the same
# notification area (trayer) on the same simulated power-supply folder (battery-sim).
# cbatticon only reads /sys/class/power_supply, so it gets the folder through a bind
# mount in a private mount namespace (needs root).
#
# Figures per program: start-up time to the window shown (median of 5 starts; for
# cbatticon its tray icon, its only window); proportional set size and anonymous memory
# (/proc/PID/smaps_rollup) 40 s after a start, each program alone, since the two share
# libraries; CPU milliseconds per minute (scheduler run time, /proc/PID/task/*/schedstat)
# and context switches per minute over all threads, over the same MINUTES (2) for both
# programs running side by side, so that both meet the same load on a shared machine,
# after a 15 s settling time (the monitor lets its start-up pages go at 10 s). The
# steady state is a full battery on mains, where the monitor measures no estimate; a
# run on battery (estimating once a second) follows for the monitor alone.
set -euo pipefail

bin="$(cd "${1:?usage: compare-resources.sh BIN_DIR [MINUTES]}" && pwd)"
minutes="${2:-2}"
[ "$(id -u)" = 0 ] || { echo "compare-resources: the bind mount needs root" >&2; exit 1; }
# The peer, the notification area and the window probe are only needed here.
needed=()
for pair in cbatticon:cbatticon trayer:trayer xdotool:xdotool Xvfb:xvfb; do
  command -v "${pair%%:*}" >/dev/null || needed+=("${pair#*:}")
done
if ((${#needed[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${needed[@]}" >/dev/null
fi

source "$(dirname "$0")/lib/session.sh"
session_begin
session_isolate
export TOLVANE_POWER_SUPPLY="$work/power_supply"
supply="$TOLVANE_POWER_SUPPLY"

start_supply() {  # battery-sim options...
  "$bin/battery-sim" --dir "$supply" "$@" &
  sim=$!
  session_track "$sim"
  session_wait_for "$supply/BAT0"
}

session_xvfb
trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
session_track $!
sleep 1

now_ms() { echo $(($(date +%s%N) / 1000000)); }
cpu_ns() {  # run time of all threads, in ns
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%d\n", n}'
}
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n + 0}'
}
rollup_kb() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/smaps_rollup"; }

launch() {  # name: starts the program in the background, sets pid
  case "$1" in
    Tolvane) "$bin/Tolvane" >/dev/null 2>&1 & ;;
    cbatticon)
      unshare -m --propagation private sh -c \
        'mount --bind "$0" /sys/class/power_supply && exec cbatticon -u 5 -n' "$supply" \
        >/dev/null 2>&1 &
      ;;
  esac
  pid=$!
}
window_class() { [ "$1" = Tolvane ] && echo Tolvane || echo cbatticon; }

startup() {  # name: one start; elapsed = ms until its window is viewable; leaves it running
  local t0
  t0=$(now_ms)
  launch "$1"
  until xdotool search --onlyvisible --classname "$(window_class "$1")" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "compare-resources: $1 ended early" >&2; exit 1; }
    sleep 0.005
  done
  elapsed=$(($(now_ms) - t0))
}

median_start() {  # name: the median of 5 starts
  local times=()
  for _ in 1 2 3 4 5; do
    startup "$1"
    times+=("$elapsed")
    session_stop "$pid"
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

memory() {  # name: starts it; pss and anon 40 s later; leaves it running
  startup "$1"
  sleep 40
  pss=$(rollup_kb "$pid" Pss)
  anon=$(rollup_kb "$pid" Anonymous)
}

usage() {  # pid...: "cpu-ms/min cs/min" of each, over the same minutes
  local p c0=() s0=() i=0
  for p in "$@"; do
    c0+=("$(cpu_ns "$p")")
    s0+=("$(switches "$p")")
  done
  sleep $((minutes * 60))
  for p in "$@"; do
    echo "$((($(cpu_ns "$p") - c0[i]) / 1000000 / minutes)) $((($(switches "$p") - s0[i]) / minutes))"
    i=$((i + 1))
  done
}

echo "Measuring over $minutes min per program on $DISPLAY (this takes a while)..."
start_supply --percent 100 --plugged
t_start=$(median_start Tolvane)
memory Tolvane
t_pss=$pss t_anon=$anon
session_stop "$pid"
c_start=$(median_start cbatticon)
memory cbatticon
c_pss=$pss c_anon=$anon
cbt_pid=$pid
startup Tolvane
sleep 15
{ read -r t_cpu t_cs; read -r c_cpu c_cs; } <<<"$(usage "$pid" "$cbt_pid")"
session_stop "$pid"
session_stop "$cbt_pid"
session_stop "$sim"
rm -rf "$supply"
start_supply --percent 90 --seconds-per-point 10
b_start=$(median_start Tolvane)
memory Tolvane
b_pss=$pss b_anon=$anon
read -r b_cpu b_cs <<<"$(usage "$pid")"
session_stop "$pid"
session_stop "$sim"
tol="Tolvane(mains,full) $t_start $t_pss $t_anon $t_cpu $t_cs"
cbt="cbatticon(mains,full) $c_start $c_pss $c_anon $c_cpu $c_cs"
tolbat="Tolvane(battery,estimating) $b_start $b_pss $b_anon $b_cpu $b_cs"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2fx", a / b; else print "-"}'; }
{
  printf '%-28s %10s %9s %9s %11s %10s\n' program start-ms PSS-KiB anon-KiB cpu-ms/min cs/min
  for row in "$tol" "$cbt" "$tolbat"; do
    printf '%-28s %10s %9s %9s %11s %10s\n' $row
  done
  printf '%-28s %10s %9s %9s %11s %10s\n' "ratio Tolvane/cbatticon" \
    "$(ratio "$t_start" "$c_start")" "$(ratio "$t_pss" "$c_pss")" \
    "$(ratio "$t_anon" "$c_anon")" "$(ratio "$t_cpu" "$c_cpu")" "$(ratio "$t_cs" "$c_cs")"
  echo "goals: PSS <= 1.0x, CPU <= 0.5x (mains, full), start-up <= 0.5x"
}
