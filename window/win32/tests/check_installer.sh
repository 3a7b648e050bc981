#!/bin/sh
# The Windows packages of one architecture (x64 or x86) as a user of 64-bit
# Windows meets them, under Wine in a 64-bit prefix: the installer installs
# silently per machine into Program Files\Kalvetor (x86: Program Files
# (x86)\Kalvetor) with a Start menu shortcut and an Add or Remove Programs
# entry in the registry's view for its architecture; the installed program
# starts and closes; the silent uninstaller leaves nothing behind. The
# portable zip holds the program and its texts.
#
#     check_installer.sh <build-dir> <work-dir> <arch> <wine-run> <prefix> <launch-check.exe> <name> <version> <publisher>
set -eu
build=$1
work=$2
arch=$3
wine_run=$4
prefix=$5
launch_check=$6
name=$7
version=$8
publisher=$9

# Where 64-bit Windows puts a program of each architecture, and which view
# of the registry (reg's /reg:64 or /reg:32) holds its keys.
case $arch in
    x64) program_files="Program Files" view=64 ;;
    x86) program_files="Program Files (x86)" view=32 ;;
    *) echo "unknown architecture $arch: x64 or x86"; exit 2 ;;
esac

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
installer=$work/$name-$version-$arch.exe
zip=$work/$name-$version-$arch.zip
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
programs="$prefix/drive_c/$program_files/$name"
install_dir="C:\\$program_files\\$name"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$name"
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
vendor_key="HKLM\\Software\\$publisher\\$name"

# What an earlier, interrupted run may have left.
if [ -x "$programs/Uninstall.exe" ]; then
    wine "$install_dir\\Uninstall.exe" /S "_?=$install_dir" || true
fi
rm -rf "$programs" "$menu"

wine "$installer" /S || fail "the installer ended with status $?"
for file in "$name.exe" README.md COPYRIGHT.txt Uninstall.exe; do
    [ -f "$programs/$file" ] || fail "$program_files\\$name\\$file is not installed"
done
ls "$programs/LICENSES/"*.txt >/dev/null 2>&1 || fail "no licence texts in $program_files\\$name\\LICENSES"
[ -f "$menu/$name.lnk" ] || fail "no Start menu shortcut $name.lnk"
entry=$(wine reg query "$key" /reg:$view 2>&1) || fail "no uninstall entry $key in the registry's $view-bit view"
echo "$entry"
for value in "DisplayName    REG_SZ    $name" "DisplayVersion    REG_SZ    $version" \
             "Publisher    REG_SZ    $publisher" "DisplayIcon    REG_SZ    $install_dir\\$name.exe" \
             "UninstallString    REG_SZ    \"$install_dir\\Uninstall.exe\""; do
    echo "$entry" | grep -qF "$value" || fail "the uninstall entry has no $value"
done

wine "$launch_check" "$install_dir\\$name.exe" || fail "the installed program did not start and close"

# The uninstaller copies itself away and returns at once; the copy removes
# the installation in the background, so wait for it, with a time-out.
wine "$install_dir\\Uninstall.exe" /S || fail "the uninstaller ended with status $?"
waited=0
while [ -e "$programs" ] || [ -e "$menu" ]; do
    [ "$waited" -lt 600 ] || { fail "the uninstaller left files after 60 s"; break; }
    sleep 0.1
    waited=$((waited + 1))
done
[ ! -e "$programs" ] || fail "$program_files\\$name is still there: $(ls -A "$programs")"
[ ! -e "$menu" ] || fail "the Start menu folder $name is still there"
if wine reg query "$key" /reg:$view >/dev/null 2>&1; then fail "the uninstall entry $key is still there"; fi
if wine reg query "$vendor_key" /reg:$view >/dev/null 2>&1; then fail "the key $vendor_key is still there"; fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with the Windows packages"
    exit 1
fi
echo "installer and zip: installed, started, closed and uninstalled without a trace"
