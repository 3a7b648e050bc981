#!/bin/sh
# The Windows packages of one architecture (x64 or x86) as a user of 64-bit
# Windows meets them, under Wine in a 64-bit prefix: the installer installs
# silently per machine into Program Files\Kalvetor (x86: Program Files
# (x86)\Kalvetor) with a Start menu shortcut and an Add or Remove Programs
# entry in the registry's view for its architecture; the installed program
# starts and closes; the silent uninstaller leaves nothing behind. The
# portable zip holds the program and its texts.
#
# Arguments: see installer_helpers.sh.
set -eu
. "$(dirname "$0")/installer_helpers.sh"
program_files=$(program_files_of "$arch")
view=$(view_of "$arch")

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
installer=$work/$name-$version-$arch.exe
zip=$work/$name-$version-$arch.zip
[ -f "$installer" ] || { echo "no installer $installer"; ls "$work"; exit 1; }

# The portable zip: the program, the readme and any licence texts.
listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
for member in "$name.exe" README.txt COPYRIGHT.txt; do
    printf '%s\n' "$listing" | grep -q "/$member\$" || fail "the zip holds no $member"
done
printf '%s\n' "$listing" | grep -q "/LICENSES/.*\.txt\$" || fail "the zip holds no licence text"
printf 'zip: %s\n' "$(printf '%s\n' "$listing" | tr '\n' ' ')"
# The readme as Notepad on every Windows shows it: UTF-8 with a byte order
# mark and CRLF line breaks.
python3 - "$zip" <<'EOF' || fail "the zip's README.txt is not UTF-8 with a byte order mark and CRLF line breaks"
import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
text = archive.read(next(n for n in archive.namelist() if n.endswith("/README.txt")))
text.decode("utf-8")
sys.exit(not (text.startswith(b"\xef\xbb\xbf") and text.count(b"\n") == text.count(b"\r\n") > 0))
EOF

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
for file in "$name.exe" README.txt COPYRIGHT.txt Uninstall.exe; do
    [ -f "$programs/$file" ] || fail "$program_files\\$name\\$file is not installed"
done
ls "$programs/LICENSES/"*.txt >/dev/null 2>&1 || fail "no licence texts in $program_files\\$name\\LICENSES"
[ -f "$menu/$name.lnk" ] || fail "no Start menu shortcut $name.lnk"
entry=$(wine reg query "$key" /reg:$view 2>&1) || fail "no uninstall entry $key in the registry's $view-bit view"
printf '%s\n' "$entry"
expect_lines "$entry" "DisplayName    REG_SZ    $name" "DisplayVersion    REG_SZ    $version" \
    "Publisher    REG_SZ    $publisher" "DisplayIcon    REG_SZ    $install_dir\\$name.exe" \
    "UninstallString    REG_SZ    \"$install_dir\\Uninstall.exe\""

wine "$launch_check" "$install_dir\\$name.exe" || fail "the installed program did not start and close"

# The uninstaller copies itself away and returns at once; the copy removes
# the installation in the background, so wait for it, with a time-out.
wine "$install_dir\\Uninstall.exe" /S || fail "the uninstaller ended with status $?"
wait_until 60 "the uninstaller removing its files" gone "$programs" "$menu"
[ ! -e "$programs" ] || fail "$program_files\\$name is still there: $(ls -A "$programs")"
[ ! -e "$menu" ] || fail "the Start menu folder $name is still there"
if wine reg query "$key" /reg:$view >/dev/null 2>&1; then fail "the uninstall entry $key is still there"; fi
if wine reg query "$vendor_key" /reg:$view >/dev/null 2>&1; then fail "the key $vendor_key is still there"; fi

exit_on_failures "the Windows packages"
echo "installer and zip: installed, started, closed and uninstalled without a trace"
