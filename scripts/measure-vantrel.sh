#!/usr/bin/env bash
# measure-vantrel.sh [BIN_DIR]: start-up time and memory of the scheme manager, measured
# from outside over RUNS (5) starts; prints each run and the medians.
#
# - Start-up: from just before the program is started until the first paint of its
#   window with a filled scheme box (VANTREL_READY_STAMP makes Vantrel print that
#   moment's wall-clock time to standard error). This includes the first powercfg
#   listing and the active scheme read.
# - Memory: VmRSS, VmHWM (peak resident) and Pss (from smaps_rollup) in KiB, read
#   SETTLE_SECONDS (1) after the window is shown.
#
# Runs under a private Xvfb unless DISPLAY is set, with a private store and config
# folder, so the user's own settings are left alone. BIN_DIR defaults to build/bin.
set -euo pipefail

bin="$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)"
runs="${RUNS:-5}"
settle="${SETTLE_SECONDS:-1}"
source "$(dirname "$0")/lib/session.sh"
session_begin
session_isolate
# The store exists before the first run, as it does for a user of the monitor.
"$bin/powercfg" /LIST >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  session_xvfb
fi
export QT_QPA_PLATFORM=xcb

field() { awk -v key="$1:" '$1 == key { print $2 }' "$2"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-4s %10s %10s %10s %10s\n' run start_ms rss_kib hwm_kib pss_kib
for run in $(seq "$runs"); do
  err="$work/stderr.$run"
  : >"$err"
  start=$(date +%s.%N)
  VANTREL_READY_STAMP=1 "$bin/Vantrel" 2>"$err" &
  pid=$!
  session_track "$pid"
  shown=""
  for _ in $(seq 200); do
    shown=$(sed -n 's/^Vantrel: first listing shown at //p' "$err")
    [ -n "$shown" ] && break
    sleep 0.05
  done
  if [ -z "$shown" ]; then
    echo "run $run: no window with a scheme list within 10 s" >&2
    cat "$err" >&2
    session_stop "$pid"
    exit 1
  fi
  sleep "$settle"
  rss=$(field VmRSS "/proc/$pid/status")
  hwm=$(field VmHWM "/proc/$pid/status")
  pss=$(field Pss "/proc/$pid/smaps_rollup")
  ms=$(echo "($shown - $start) * 1000" | bc)
  printf '%-4s %10.0f %10s %10s %10s\n' "$run" "$ms" "$rss" "$hwm" "$pss" | tee -a "$work/table"
  session_stop "$pid"
done

printf '%-4s' median
for column in 2 3 4 5; do
  printf ' %10s' "$(awk -v c=$column '{ print $c }' "$work/table" | median)"
done
printf '\n'
