#!/bin/sh
# Kalvetor.exe is hardened as cmake/mingw-w64.cmake asks, and reproducible:
#
#     check_hardening.sh <objdump> <nm> <x64|x86> <Kalvetor.exe> <probe object> <object or library>...
#
# - its PE header: relocatable (DYNAMIC_BASE, with a relocation table), DEP
#   (NX_COMPAT), on x64 high-entropy ASLR (HIGH_ENTROPY_VA), and no build
#   time (Time/Date is zero);
# - the objects it is linked from call the stack protector
#   (__stack_chk_fail); the probe object (fortify_probe.cpp), built with
#   the same flags, calls a fortified C function (__*_chk), as do those of
#   the program's own calls the compiler cannot prove safe (listed; there
#   may be none); the stripped program holds libssp's message, so libssp is
#   linked in.
set -u
objdump=$1
nm=$2
arch=$3
exe=$4
probe=$5
shift 5
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

header=$("$objdump" -p "$exe") || exit 1
flags="DYNAMIC_BASE NX_COMPAT"
[ "$arch" = x64 ] && flags="$flags HIGH_ENTROPY_VA"
for flag in $flags; do
    printf '%s\n' "$header" | grep -q "^[[:space:]]*$flag\$" && echo "ok: $flag" || fail "no $flag in DllCharacteristics"
done
printf '%s\n' "$header" | grep -q "^Entry 5 [0-9a-f]* [0-9a-f]*[1-9a-f][0-9a-f]* Base Relocation Directory" &&
    echo "ok: a relocation table" || fail "no relocation table, so DYNAMIC_BASE cannot move the program"
stamp=$(printf '%s\n' "$header" | sed -n 's/^Time\/Date[[:space:]]*//p')
case $stamp in
    *" 1970") echo "ok: no build time in the header ($stamp)" ;;
    *) fail "the header carries a build time: $stamp" ;;
esac

# undefined <object or library>...: the functions they call from elsewhere.
undefined() { "$nm" "$@" 2>/dev/null | awk '$1 == "U" { print $2 }' | sort -u; }
fortified() { grep -x '__.*_chk' | grep -vx '__stack_chk_fail' | tr '\n' ' '; }
undefined "$@" | grep -qx '__stack_chk_fail' && echo "ok: the stack protector" ||
    fail "nothing calls __stack_chk_fail: no stack protector"
probed=$(undefined "$probe" | fortified)
[ -n "$probed" ] && echo "ok: fortified functions: the probe calls $probed" ||
    fail "the probe calls no fortified __*_chk function: the flags do not fortify"
echo "the program's own fortified calls: $(undefined "$@" | fortified)"
grep -q 'stack smashing detected' "$exe" && echo "ok: libssp linked in" || fail "libssp is not in the program"
exit $status
