#!/bin/sh
# The Windows packages as a user meets them, under Wine: the installer
# installs silently per machine into Program Files\Kalvetor with a Start
# menu shortcut and an Add or Remove Programs entry; the installed program
# starts and closes; the silent uninstaller leaves nothing behind. The
# portable zip holds the program and its texts.
#
#     check_installer.sh <build-dir> <work-dir> <wine-run> <prefix> <launch-check.exe> <name> <version> <publisher>
set -eu
build=$1
work=$2
wine_run=$3
prefix=$4
launch_check=$5
name=$6
version=$7
publisher=$8

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
installer=$work/$name-$version-win64.exe
zip=$work/$name-$version-win64.zip
[ -f "$installer" ] || { echo "no installer $installer"; ls "$work"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The portable zip: the program, the readme and any licence texts.
listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
for member in "$name.exe" README.md COPYRIGHT.txt; do
    echo "$listing" | grep -q "/$member\$" || fail "the zip holds no $member"
done
echo "$listing" | grep -q "/LICENSES/.*\.txt\$" || fail "the zip holds no licence text"
echo "zip: $(echo "$listing" | tr '\n' ' ')"

wine() { "$wine_run" "$prefix" "$@"; }
programs="$prefix/drive_c/Program Files/$name"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$name"
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
vendor_key="HKLM\\Software\\$publisher\\$name"

# What an earlier, interrupted run may have left.
if [ -x "$programs/Uninstall.exe" ]; then
    wine "C:\\Program Files\\$name\\Uninstall.exe" /S "_?=C:\\Program Files\\$name" || true
fi
rm -rf "$programs" "$menu"

wine "$installer" /S || fail "the installer ended with status $?"
for file in "$name.exe" README.md COPYRIGHT.txt Uninstall.exe; do
    [ -f "$programs/$file" ] || fail "Program Files\\$name\\$file is not installed"
done
ls "$programs/LICENSES/"*.txt >/dev/null 2>&1 || fail "no licence texts in Program Files\\$name\\LICENSES"
[ -f "$menu/$name.lnk" ] || fail "no Start menu shortcut $name.lnk"
entry=$(wine reg query "$key" 2>&1) || fail "no uninstall entry $key"
echo "$entry"
for value in "DisplayName    REG_SZ    $name" "DisplayVersion    REG_SZ    $version" \
             "Publisher    REG_SZ    $publisher" "DisplayIcon    REG_SZ    C:\\Program Files\\$name\\$name.exe" \
             "UninstallString    REG_SZ    \"C:\\Program Files\\$name\\Uninstall.exe\""; do
    echo "$entry" | grep -qF "$value" || fail "the uninstall entry has no $value"
done

wine "$launch_check" "C:\\Program Files\\$name\\$name.exe" || fail "the installed program did not start and close"

# The uninstaller copies itself away and returns at once; the copy removes
# the installation in the background, so wait for it, with a time-out.
wine "C:\\Program Files\\$name\\Uninstall.exe" /S || fail "the uninstaller ended with status $?"
waited=0
while [ -e "$programs" ] || [ -e "$menu" ]; do
    [ "$waited" -lt 600 ] || { fail "the uninstaller left files after 60 s"; break; }
    sleep 0.1
    waited=$((waited + 1))
done
[ ! -e "$programs" ] || fail "Program Files\\$name is still there: $(ls -A "$programs")"
[ ! -e "$menu" ] || fail "the Start menu folder $name is still there"
if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry $key is still there"; fi
if wine reg query "$vendor_key" >/dev/null 2>&1; then fail "the key $vendor_key is still there"; fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with the Windows packages"
    exit 1
fi
echo "installer and zip: installed, started, closed and uninstalled without a trace"
