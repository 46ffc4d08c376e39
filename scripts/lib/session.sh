# Sourced by the run and measure scripts: a private work folder and desktop session
# (runtime, config and store folders of its own, no session bus unless one is started),
# a private Xvfb, and clean-up of everything started, with SIGKILL for a process that
# does not end within 5 s of SIGTERM.
#
#   source scripts/lib/session.sh
#   session_begin              # makes $work, sets the traps
#   session_isolate            # private XDG folders and store under $work
#   session_xvfb               # starts Xvfb, exports DISPLAY
#   some_program & session_track $!
#   session_stop PID           # TERM, then KILL after 5 s; reaps it

session_pids=()

session_stop() {
  local pid="$1"
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

session_track() {
  session_pids+=("$1")
}

session_end() {
  local i
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    session_stop "${session_pids[i]}"
  done
  session_pids=()
  if [ -n "${work:-}" ]; then
    chmod -R u+rwx "$work" 2>/dev/null || true
    rm -rf "$work"
  fi
}

session_begin() {
  work="$(mktemp -d)"
  trap session_end EXIT
  trap 'exit 130' INT TERM
}

# The user's own store, autostart folder and session bus are left alone.
session_isolate() {
  export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
  export TOLVANE_REGISTRY="$work/config/tolvane/registry.db"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
  export NO_AT_BRIDGE=1
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

session_xvfb() {  # [WxHxD]
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  session_track $!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start; see $work/xvfb.log" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  export QT_QPA_PLATFORM=xcb
}

# Waits up to 5 s for a path to appear.
session_wait_for() {
  for _ in $(seq 50); do [ -e "$1" ] && return 0; sleep 0.1; done
  return 1
}
