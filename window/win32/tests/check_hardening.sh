#!/bin/sh
# Kalvetor.exe is hardened as cmake/mingw-w64.cmake asks, and reproducible:
#
#     check_hardening.sh <objdump> <nm> <x64|x86> <Kalvetor.exe> <object or library>...
#
# - its PE header: relocatable (DYNAMIC_BASE, with a relocation table), DEP
#   (NX_COMPAT), on x64 high-entropy ASLR (HIGH_ENTROPY_VA), and no build
#   time (Time/Date is zero);
# - the objects it is linked from call the stack protector
#   (__stack_chk_fail) and fortified C functions (__*_chk), and the
#   stripped program holds libssp's message, so libssp is linked in.
set -u
objdump=$1
nm=$2
arch=$3
exe=$4
shift 4
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

calls=$("$nm" "$@" 2>/dev/null | awk '$1 == "U" { print $2 }' | sort -u)
printf '%s\n' "$calls" | grep -qx '__stack_chk_fail' && echo "ok: the stack protector" ||
    fail "nothing calls __stack_chk_fail: no stack protector"
fortified=$(printf '%s\n' "$calls" | grep -x '__.*_chk' | grep -vx '__stack_chk_fail' | tr '\n' ' ')
[ -n "$fortified" ] && echo "ok: fortified functions: $fortified" || fail "no fortified __*_chk functions called"
grep -q 'stack smashing detected' "$exe" && echo "ok: libssp linked in" || fail "libssp is not in the program"
exit $status
