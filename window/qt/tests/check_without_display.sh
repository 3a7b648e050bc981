#!/bin/sh
# Started with no display reachable, or with a window system that cannot
# start, the program says so in one line and exits with status 1 rather
# than aborting.
#   check_without_display.sh <kalvetor>
program=$1
status=0

expect_one_line() {
    description=$1
    pattern=$2
    shift 2
    output=$("$@" 2>&1)
    code=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$code" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$output" | grep -q -- "$pattern"; then
        echo "FAIL ($description): exit status $code, $lines line(s):"
        printf '%s\n' "$output"
        status=1
    else
        echo "ok ($description): $output"
    fi
}

expect_one_line "no DISPLAY" "no display is available" \
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program"
# A display no X server holds: Xvfb -displayfd takes the lowest free numbers.
unused=1000
while [ -e "/tmp/.X11-unix/X$unused" ] || [ -e "/tmp/.X$unused-lock" ]; do
    unused=$((unused + 1))
done
expect_one_line "unreachable display" "the display :$unused could not be reached" \
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$unused "$program"
expect_one_line "unusable QT_QPA_PLATFORM" 'the window system "no-such-platform" named by QT_QPA_PLATFORM' \
    env QT_QPA_PLATFORM=no-such-platform "$program"
exit $status
