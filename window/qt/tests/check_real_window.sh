#!/bin/sh
# Runs the program in a real X window under a window manager and checks it
# as the X server and a user see it: the size hints that make it fixed, the
# caption, a click on a name changing what is drawn, closing with Alt+F4
# ending the program with status 0. (The conformance suite checks the
# geometry and colours themselves against the window definition.) Every wait
# is for an event, bounded by a generous time-out, never a fixed pause.
# Run on an X display with a window manager (scripts/x-desktop):
#   check_real_window.sh <kalvetor> [screenshot.png]
set -u
program=$1
screenshot=${2:-}
work=$(mktemp -d)
. "$(dirname "$0")/../../../tests/checks.sh"

# The first key sent through XTEST makes the server switch the keyboard it
# takes keys from, which it announces as a new keyboard mapping; Openbox
# then drops its key bindings and grabs them again. Alt+F4 sent while it is
# at that (and a busy machine makes that a while) reaches the program
# instead, which rightly ignores it. So one harmless key goes first, before
# the program starts: Openbox handles the mapping before it frames the
# window, as it handles events in order, so its bindings are back by then.
xdotool key shift
"$program" >"$work/output" 2>&1 &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | tail -n 1)
[ -n "$window" ] || { echo "FAIL: no window appeared"; cat "$work/output"; kill "$pid"; exit 1; }
framed() { xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; }
until_true 30 framed || fail "the window manager never framed the window"

geometry() {  # geometry <xwininfo field>: a number from xwininfo for the window
    xwininfo -id "$window" | awk -v field="$1" 'index($0, field) { print $NF }'
}
X=$(geometry "Absolute upper-left X:")
Y=$(geometry "Absolute upper-left Y:")
WIDTH=$(geometry "Width:")
HEIGHT=$(geometry "Height:")
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
printf '%s\n' "$hints" | grep -q "minimum size: $WIDTH by $HEIGHT" || fail "resizable (minimum size): $hints"
printf '%s\n' "$hints" | grep -q "maximum size: $WIDTH by $HEIGHT" || fail "resizable (maximum size): $hints"
LC_ALL=C.UTF-8 xprop -id "$window" _NET_WM_NAME | grep -q '"https://kalvetor.bg  Калветор"' || fail "caption"

# Click a name and see the window's picture change. The picture
# before is one the window has finished drawing (two shots alike), so that
# its own first paint cannot pass for the click's effect.
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$work/$1.png"; }
settled() { shot again && cmp -s "$work/before.png" "$work/again.png" || { mv "$work/again.png" "$work/before.png"; false; }; }
changed() { shot after && ! cmp -s "$work/before.png" "$work/after.png"; }
shot before
until_true 30 settled || fail "the window's picture never settled before the click"
xdotool mousemove --sync $((X + WIDTH / 3)) $((Y + HEIGHT / 4)) click 1  # in the list
until_true 30 changed || fail "the window did not change on a click on a name"

# Keys reach the window only while it has the focus (and Alt+F4, which is
# the window manager's, only as real input: XTEST; sent to an unfocused
# window, xdotool would deliver it to the program, which rightly ignores it).
xdotool windowactivate "$window" 2>/dev/null
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
until_true 30 focused || fail "the window never took the focus"

# The screenshot shows the third name, wherever the click fell: End, then
# Home and Down twice, each waited for until the window has drawn it.
press() {
    shot before
    xdotool key "$@"
    until_true 30 changed || return 1
    mv "$work/after.png" "$work/before.png"
    until_true 30 settled
}
if [ -n "$screenshot" ]; then
    if press End && press Home Down Down; then
        set -- $(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
        import -window root -crop "$((WIDTH + $1 + $2))x$((HEIGHT + $3 + $4))+$((X - $1))+$((Y - $3))" "$screenshot"
    else
        fail "the window did not show the third name for the screenshot"
    fi
fi

# The key release may find the window already gone; that is no error.
xdotool key alt+F4 2>/dev/null
ended() { ! kill -0 "$pid" 2>/dev/null; }
if until_true 60 ended; then
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || fail "Alt+F4 ended the program with status $code, not 0"
else
    fail "the program was still running 60 s after Alt+F4"
    kill "$pid" 2>/dev/null
fi
grep -v -e XDG_RUNTIME_DIR "$work/output"
rm -rf "$work"
exit_on_failures "the real window"
echo "real window: ok"
