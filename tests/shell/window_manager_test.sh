#!/bin/sh
# The captioned modal dialogs under a real window manager (openbox on a virtual X display): Polar,
# Set Limits and a message box are offered neither minimise nor maximise, minimising Polar anyway
# does not hide the program, and Set Limits keeps its empty caption. The dialogs are opened and
# closed from the keyboard.
# Usage: window_manager_test.sh path/to/tarvelion [folder for the screenshots]
set -eu

program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shots=${2:-$work}

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
QT_QPA_PLATFORM=xcb "$1" &
pid=$!
# Waits until a window whose name matches $1 exists and prints its id.
window_named() {
    for round in $(seq 1 40); do
        found=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.5
    done
    return 1
}
main=$(window_named '^Tarvelion Release 1.2')
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 1
xdotool key alt+o
polar=$(window_named '^Graphing using polar')
sleep 1
import -window root "$3/polar.png"
xprop -id "$polar" _NET_WM_ALLOWED_ACTIONS > "$2/actions.txt"
xdotool windowminimize "$polar"
sleep 2
{ xwininfo -id "$main"; xwininfo -id "$polar"; } | grep 'Map State' > "$2/polar.txt"
import -window root "$3/polar-minimised.png"
xdotool key Return
sleep 1
xdotool key alt+g s
sleep 2
limits=$(xdotool getactivewindow)
xprop -id "$limits" WM_NAME > "$2/limits.txt"
xprop -id "$limits" _NET_WM_ALLOWED_ACTIONS >> "$2/actions.txt"
import -window root "$3/limits.png"
xdotool key Return
sleep 1
xdotool key alt+u d
sleep 1
xdotool type --delay 20 'f(x'
xdotool key Return
box=$(window_named '^Brackets do not match')
sleep 1
xprop -id "$box" _NET_WM_ALLOWED_ACTIONS >> "$2/actions.txt"
import -window root "$3/message.png"
xdotool key Return
sleep 0.5
kill "$pid" "$wm" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
SESSION
chmod +x "$work/session.sh"

xvfb-run -a -s "-screen 0 1366x768x24" "$work/session.sh" "$program" "$work" "$shots"

status=0
echo "polar, minimised: $(cat "$work/polar.txt")"
[ "$(grep -c IsViewable "$work/polar.txt")" -eq 2 ] || { echo "minimising Polar hid the program"; status=1; }
echo "set limits: $(cat "$work/limits.txt")"
grep -Eq 'WM_NAME\(STRING\) = ("")?$' "$work/limits.txt" || { echo "Set Limits shows a caption"; status=1; }
echo "allowed actions:"; cat "$work/actions.txt"
[ "$(grep -c _NET_WM_ACTION_MOVE "$work/actions.txt")" -eq 3 ] || { echo "a dialog was not asked about"; status=1; }
grep -Eq 'MINIMIZE|MAXIMIZE' "$work/actions.txt" && { echo "a dialog offers minimise or maximise"; status=1; }
exit $status
