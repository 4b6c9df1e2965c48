#!/bin/sh
# Starts the program on a virtual X display, photographs the screen and checks that the graph
# area's background RGB(10,10,20) fills most of it and the red axes are drawn.
# Usage: screenshot_test.sh path/to/tarvelion
set -eu

program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/session.sh" <<'SESSION'
#!/bin/sh
QT_QPA_PLATFORM=xcb "$1" &
pid=$!
shot="$2/shot.png"
# Photograph until the picture is there; a slow start only takes more rounds.
for round in $(seq 1 40); do
    sleep 0.5
    import -window root "$shot" 2>/dev/null || continue
    convert "$shot" -format %c histogram:info:- > "$2/histogram.txt"
    if grep -q 'srgb(10,10,20)\|#0A0A14' "$2/histogram.txt"; then
        break
    fi
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
SESSION
chmod +x "$work/session.sh"

xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$program" "$work"

count_of() {
    grep -i "$1" "$work/histogram.txt" | sed 's/^ *\([0-9]*\):.*/\1/' | head -n 1
}
background=$(count_of '#0A0A14')
red=$(count_of '#FF0000')
total=$((1280 * 800))
echo "background pixels: ${background:-0} of $total, red pixels: ${red:-0}"

# The graph area covers the screen below the menu bar; the two axes span its width and height.
[ "${background:-0}" -gt $((total / 2)) ] || { echo "background colour missing"; exit 1; }
[ "${red:-0}" -gt 1200 ] || { echo "red axes missing"; exit 1; }
echo "screenshot shows the graph area and its axes"
