#!/usr/bin/env bash
# Runs a command against the desktop accessibility stack a blind player's
# session has, headless: a private D-Bus session, the accessibility bus and
# its registry, accessibility switched on as a running screen reader
# switches it on, and an X server of its own.
#
#   RunStack.sh [--timeout SECONDS] -- COMMAND ARGS...
#
# COMMAND finds the X display in DISPLAY and the session bus in
# DBUS_SESSION_BUS_ADDRESS. Everything started here ends with it; the whole
# run is cut off after the timeout (default 120 s), so it can never hang.
set -euo pipefail

Limit=120
if [ "${1:-}" = "--timeout" ]; then Limit=$2; shift 2; fi
[ "${1:-}" = "--" ] && shift

if [ -z "${QUINTOR_STACK_INSIDE:-}" ]; then
  for Tool in dbus-run-session Xvfb xdotool /usr/libexec/at-spi-bus-launcher dbus-send /usr/bin/python3; do
    command -v "$Tool" >/dev/null || { echo "RunStack: $Tool is not installed" >&2; exit 77; }
  done
  export QUINTOR_STACK_INSIDE=1
  exec timeout -k 5 "$Limit" dbus-run-session -- "$0" -- "$@"
fi

Pids=()
# Last started, first ended: the X server goes after the programs using it.
cleanup() {
  for ((I = ${#Pids[@]} - 1; I >= 0; I--)); do kill "${Pids[I]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# An X server of its own, on a display picked at random so that runs side by
# side (and whatever else runs an X server here) do not meet; it is ready
# once a client gets an answer from it (and it must not reset when that
# client leaves, or the next one finds it closed).
for _ in 1 2 3 4 5 6 7 8; do
  Display=$((100 + RANDOM % 900))
  [ -e "/tmp/.X$Display-lock" ] || [ -e "/tmp/.X11-unix/X$Display" ] && continue
  Xvfb ":$Display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XServer=$!
  for _ in $(seq 100); do
    kill -0 "$XServer" 2>/dev/null || break
    DISPLAY=":$Display" xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$XServer" 2>/dev/null || true
  XServer=
done
[ -n "${XServer:-}" ] || { echo "RunStack: Xvfb did not start" >&2; exit 2; }
Pids+=("$XServer")
export DISPLAY=":$Display"

/usr/libexec/at-spi-bus-launcher --launch-immediately &
Pids+=($!)
# The launcher owns org.a11y.Bus once it is up; then accessibility is
# switched on for every program that asks.
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
       org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
       variant:boolean:true >/dev/null 2>&1; then
    break
  fi
  sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:IsEnabled | grep -q "boolean true" \
  || { echo "RunStack: accessibility could not be switched on" >&2; exit 2; }

"$@"
