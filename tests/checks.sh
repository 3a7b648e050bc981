# What the shell checks share, sourced first:
#     . "<path to the top of the tree>/tests/checks.sh"
# a failure is recorded and the check goes on, until exit_on_failures.

# Each failure is a line in a file, so that one in a subshell (a function
# at the end of a pipe, say) counts as well. Text from Windows (paths, reg's
# output) may be printed, so printf, never echo: dash's echo reads its
# backslashes as escapes, and \c ends the output.
failure_log=$(mktemp)
trap 'rm -f "$failure_log"' EXIT
fail() {
    printf 'FAIL: %s\n' "$*"
    printf '%s\n' "$*" >>"$failure_log"
}

# failures: how many failures there have been.
failures() {
    wc -l <"$failure_log" | tr -d ' '
}

# until_true <seconds> <command>...: runs the command every tenth of a
# second until it succeeds; returns 1 once the seconds have passed.
until_true() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# wait_until <seconds> <what> <command>...: until_true with the command's
# output left out, and a failure of what was awaited if it never came.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    until_true "$seconds" "$@" >/dev/null 2>&1 || fail "$what: not within $seconds s"
}

# exit_on_failures <what>: ends the script with status 1 if anything failed.
exit_on_failures() {
    if [ "$(failures)" -ne 0 ]; then
        echo "$(failures) problem(s) with $1"
        exit 1
    fi
}
