#!/bin/sh
# Kalvetor.exe stands alone: the DLLs it imports are Windows' own.
#
#     check_imports.sh <objdump> <Kalvetor.exe>
set -eu
objdump=$1
exe=$2
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
status=0
for dll in $imports; do
    case $(echo "$dll" | tr 'A-Z' 'a-z') in
        # advapi32: libssp seeds the stack protector's guard with CryptGenRandom.
        kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll) echo "imports $dll (Windows)" ;;
        *) echo "imports $dll, which is not part of Windows" >&2; status=1 ;;
    esac
done
[ -n "$imports" ] || { echo "no imports found in $exe" >&2; exit 1; }
exit $status
