#!/bin/sh
# Runs the program in a real X window under a window manager and checks it
# as a user sees it: size and place, caption, colours on screen, a click on a
# name, and closing with Alt+F4 ending the program with status 0.
# Run under xvfb-run with an 800x600 screen:
#   xvfb-run -a -s "-screen 0 800x600x24" check_real_window.sh <kalvetor> [screenshot.png]
set -u
program=$1
screenshot=${2:-}
work=$(mktemp -d)
status=0

fail() {
    echo "FAIL: $*"
    status=1
}

pixel() {  # pixel <x> <y> in the last screenshot, as srgb(r,g,b)
    convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:
}

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$program" >"$work/output" 2>&1 &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | tail -n 1)
[ -n "$window" ] || { echo "FAIL: no window appeared"; cat "$work/output"; kill "$pid" "$wm"; exit 1; }
sleep 1

geometry() {  # geometry <xwininfo field>: a number from xwininfo for the window
    xwininfo -id "$window" | awk -v field="$1" 'index($0, field) { print $NF }'
}
X=$(geometry "Absolute upper-left X:")
Y=$(geometry "Absolute upper-left Y:")
WIDTH=$(geometry "Width:")
HEIGHT=$(geometry "Height:")
[ "$WIDTH" -eq 441 ] && [ "$HEIGHT" -eq 362 ] || fail "client area is ${WIDTH}x${HEIGHT}, not 441x362"
[ $((X + WIDTH / 2 - 400)) -ge -1 ] && [ $((X + WIDTH / 2 - 400)) -le 1 ] || fail "not centred across: x=$X"
xprop -id "$window" WM_NORMAL_HINTS | grep -q "minimum size: 441 by 362" || fail "resizable (minimum size)"
xprop -id "$window" WM_NORMAL_HINTS | grep -q "maximum size: 441 by 362" || fail "resizable (maximum size)"
LC_ALL=C.UTF-8 xprop -id "$window" _NET_WM_NAME | grep -q '"https://kalvetor.bg  Калветор"' || fail "caption"

import -window root "$work/shot.png"
[ "$(pixel $((X + 4)) $((Y + 4)))" = "srgb(192,192,255)" ] || fail "window background is $(pixel $((X + 4)) $((Y + 4)))"
[ "$(pixel $((X + 98)) $((Y + 2)))" = "srgb(255,192,128)" ] || fail "title label is $(pixel $((X + 98)) $((Y + 2)))"
[ "$(pixel $((X + 200)) $((Y + 181)))" = "srgb(192,192,255)" ] || fail "no gap between the list and the box:"

# Click the third name and see the box change.
convert "$work/shot.png" -crop "425x169+$((X + 8))+$((Y + 184))" "$work/box-before.png"
xdotool mousemove --sync $((X + 150)) $((Y + 24 + 2 * 18 + 9)) click 1
sleep 1
import -window root "$work/shot.png"
convert "$work/shot.png" -crop "425x169+$((X + 8))+$((Y + 184))" "$work/box-after.png"
cmp -s "$work/box-before.png" "$work/box-after.png" && fail "the description box did not change on a click"

if [ -n "$screenshot" ]; then
    frame=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    set -- $frame
    import -window root -crop "$((441 + $1 + $2))x$((362 + $3 + $4))+$((X - $1))+$((Y - $3))" "$screenshot"
fi

# The key release may find the window already gone; that is no error.
xdotool key --window "$window" alt+F4 2>/dev/null
code=124
for _ in 1 2 3 4 5 6 7 8 9 10; do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        code=$?
        break
    fi
    sleep 0.5
done
[ "$code" -eq 0 ] || { fail "Alt+F4 did not end the program with status 0 (status $code)"; kill "$pid" 2>/dev/null; }
kill "$wm" 2>/dev/null
grep -v -e XDG_RUNTIME_DIR "$work/output"
rm -rf "$work"
[ $status -eq 0 ] && echo "real window: ok"
exit $status
