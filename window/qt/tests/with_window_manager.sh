#!/bin/sh
# Runs a command on the current X display under the Openbox window manager,
# once Openbox has taken charge of the screen, and stops Openbox afterwards.
# Exits with the command's status.
#   with_window_manager.sh <command> [<argument>...]
set -u
log=$(mktemp)
openbox --sm-disable >"$log" 2>&1 &
wm=$!
# A window manager announces itself on the root window; wait for that, for
# at most 30 s, rather than for a fixed time.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    tries=$((tries + 1))
    if [ "$tries" -gt 300 ] || ! kill -0 "$wm" 2>/dev/null; then
        echo "with_window_manager.sh: Openbox did not start on $DISPLAY; it said:" >&2
        cat "$log" >&2
        kill "$wm" 2>/dev/null
        rm -f "$log"
        exit 1
    fi
    sleep 0.1
done
"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
rm -f "$log"
exit $status
