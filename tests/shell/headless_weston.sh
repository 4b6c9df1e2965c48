#!/bin/sh
# Runs a command as a client of a Weston of its own on the headless back end (no screen, no input
# devices), with Qt's Wayland platform; then stops that Weston. The command's status is the script's.
# Usage: headless_weston.sh COMMAND [ARGUMENT]...
set -eu

runtime=$(mktemp -d)
chmod 0700 "$runtime"
weston_pid=""
stop_weston() {
    status=$?
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    [ "$status" -eq 0 ] || cat "$runtime/weston.log" 2>/dev/null || true
    rm -rf "$runtime"
    exit "$status"
}
trap stop_weston EXIT
trap 'exit 130' INT TERM

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wayland-tarvelion --no-config \
    --width=1280 --height=800 --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for round in $(seq 1 100); do
    [ -S "$runtime/wayland-tarvelion" ] && break
    kill -0 "$weston_pid" 2>/dev/null || { echo "weston did not start"; exit 1; }
    sleep 0.1
done
[ -S "$runtime/wayland-tarvelion" ] || { echo "weston offers no socket"; exit 1; }

# No input method: a headless Weston has no seat, and Qt 6.4's Wayland text input then follows a
# missing input device as soon as a line edit draws its cursor.
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-tarvelion QT_QPA_PLATFORM=wayland QT_IM_MODULE=none "$@"
