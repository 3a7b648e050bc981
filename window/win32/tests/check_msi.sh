#!/bin/sh
# The Windows Installer package of one architecture (x64 or x86), its
# summary dated at the source date exactly, and the package as school
# IT meets it on 64-bit Windows, under Wine in a 64-bit prefix:
# `msiexec /i <package> /qn` installs it per machine into Program Files with
# a Start menu shortcut to the program and an Add or Remove Programs entry,
# and the installed program starts and closes; the package of the other
# architecture at the same version replaces it, and so does a newer version,
# with its own files; an older version is refused; `msiexec /x {ProductCode}
# /qn` leaves no file and no registry key behind.
#
# Arguments: see installer_helpers.sh.
set -eu
. "$(dirname "$0")/installer_helpers.sh"
# The other architecture, and the platform a package names.
case $arch in
    x64) other_arch=x86 platform=x64 ;;
    *) other_arch=x64 platform=Intel ;;
esac

rm -rf "$work"
mkdir -p "$work"

# package <dir> [-D setting...]: builds the package alone into <work>/<dir>
# with cpack's External generator, with the settings changed; prints its path.
package() {
    local dir=$work/$1
    shift
    cpack -G External --config "$build/CPackConfig.cmake" -B "$dir" "$@" >"$dir.log" 2>&1 ||
        { cat "$dir.log" >&2; return 1; }
    ls "$dir"/*.msi
}
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }

# At a source date of its own, whose time the summary must then carry.
source_epoch=1700000000
release=$(export SOURCE_DATE_EPOCH=$source_epoch && package release)
# The newer package: a higher version, and a readme that says so.
newer_version=$((${version%%.*} + 1)).00
echo "file(APPEND \"\${CPACK_TEMPORARY_DIRECTORY}/README.txt\" \"newer build $newer_version\\n\")" >"$work/mark.cmake"
newer=$(package newer -D CPACK_PACKAGE_VERSION=$newer_version -D CPACK_PACKAGE_FILE_NAME=$name-$newer_version \
    -D CPACK_PRE_BUILD_SCRIPTS="$work/mark.cmake")
other=$(package other -D CPACK_KALVETOR_MSI_ARCH=$other_arch -D CPACK_PACKAGE_FILE_NAME=$name-$version-$other_arch)

msiinfo suminfo "$release" | grep -q "^Template: $platform;" || fail "the package is not for $platform: $(msiinfo suminfo "$release")"
# The summary's Created and Last saved times (FILETIMEs: tenths of a
# microsecond since 1601, after their type, 0x40) are the source date, not
# the time the package was made.
filetime=$(printf '%016x' $(((source_epoch + 11644473600) * 10000000)) | sed 's/../& /g' |
    awk '{ for (i = NF; i > 0; i--) printf "%s", $i }')
times=$(msiinfo extract "$release" "$(printf '\005SummaryInformation')" | od -An -tx1 -v | tr -d ' \n' |
    grep -o "40000000$filetime" | wc -l)
[ "$times" -eq 2 ] || fail "the summary's times are not the source date: $(msiinfo suminfo "$release" | grep -i saved)"
# Wine makes every shortcut an ordinary one to its target; Windows makes
# one whose target is a feature, not a file, an advertised shortcut, which
# shows no icon.
msiinfo export "$release" Shortcut | tr -d '\r' | awk -F '\t' 'NR > 3 && $5 !~ /^\[#/ { exit 1 }' ||
    fail "an advertised shortcut: $(msiinfo export "$release" Shortcut)"
msiinfo export "$release" LaunchCondition | grep -q "A newer version of \[ProductName\]" ||
    fail "the package refuses a downgrade without a message"

# msiexec /qn says nothing when it fails, a refusal included: its status is
# its answer, so wine-run does not take its failure for Wine's.
msiexec() { (KALVETOR_WINE_RETRY=no && export KALVETOR_WINE_RETRY && wine msiexec "$@"); }

uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
programs_of() { printf 'C:\\%s\\%s\n' "$(program_files_of "$1")" "$name"; }
unix_path() { printf '%s/drive_c/%s\n' "$prefix" "$(printf '%s' "${1#C:\\}" | tr '\\' /)"; }
# The product codes of the Add or Remove Programs entries named Kalvetor.
entries() {
    for view in 64 32; do wine reg query "$uninstall" /s /reg:$view 2>/dev/null || true; done | tr -d '\r' |
        awk -v name="$name" '/^HKEY/ { key = $0 } $0 ~ "DisplayName +REG_SZ +" name "$" { sub(/.*\\/, "", key); print key }' |
        sort -u
}
entries_are() { [ "$(entries)" = "$1" ]; }
# Windows puts a per-machine shortcut into the common Start menu; Wine's
# msi takes the user's for ProgramMenuFolder whatever ALLUSERS says.
shortcuts() {
    find "$prefix/drive_c/ProgramData" "$prefix/drive_c/users" -path "*/Start Menu/Programs/$name.lnk"
}

# check_installed <package> <arch> <version>: that package's product is the
# one Kalvetor on the machine, with its files, shortcut and entry.
check_installed() {
    local code programs files file shortcut target icon entry
    code=$(property "$1" ProductCode)
    programs=$(programs_of "$2")
    files=$(unix_path "$programs")
    printf 'installed: %s (%s, %s) in %s\n' "$code" "$2" "$3" "$programs"
    for file in "$name.exe" README.txt COPYRIGHT.txt; do
        [ -f "$files/$file" ] || fail "$programs\\$file is not installed"
    done
    ls "$files/LICENSES/"*.txt >/dev/null 2>&1 || fail "no licence texts in $programs\\LICENSES"
    entries_are "$code" || fail "the entries in Add or Remove Programs are \"$(entries)\", not $code alone"

    shortcut=$(shortcuts)
    if [ "$(printf '%s\n' "$shortcut" | grep -c .)" -ne 1 ]; then
        fail "not one Start menu shortcut: \"$shortcut\""
    else
        target=$(shortcut_of "$shortcut" | sed -n 1p)
        icon=$(shortcut_of "$shortcut" | sed -n 2p)
        [ "$target" = "$programs\\$name.exe" ] || fail "the shortcut points at \"$target\""
        [ -z "$icon" ] || [ "$icon" = "$programs\\$name.exe,0" ] || fail "the shortcut shows the icon \"$icon\""
    fi

    entry=$(wine reg query "$uninstall\\$code" /reg:"$(view_of "$2")" 2>&1) || fail "no uninstall entry $code"
    expect_lines "$entry" "DisplayName    REG_SZ    $name" "DisplayVersion    REG_SZ    $3" \
        "Publisher    REG_SZ    $publisher" "InstallLocation    REG_SZ    $programs\\" "NoModify    REG_DWORD    0x1" \
        "UninstallString    REG_EXPAND_SZ    MsiExec.exe /X$code"
    # Add or Remove Programs shows an installed package's ARPPRODUCTICON,
    # which Windows Installer keeps with the product's registration.
    icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' |
        sed -n "s/^ *ProductIcon *REG_SZ *\(.*\\\\$code\\\\$name\.ico\)$/\1/p")
    [ -n "$icon" ] && [ -s "$(unix_path "$icon")" ] || fail "no product icon for $code"
}

# The prefix's files and the values under HKLM\Software, each with its key,
# to find anything left behind. (The first installation leaves the
# installer's own keys, empty, as on Windows.)
snapshot() {
    find "$prefix/drive_c" | sort >"$work/$1.files"
    wine regedit /E "Z:$(printf '%s' "$work/$1.reg" | tr / '\\')" 'HKEY_LOCAL_MACHINE\Software'
    iconv -f UTF-16 -t UTF-8 "$work/$1.reg" | tr -d '\r' | awk '/^\[/ { key = $0; next } NF { print key " " $0 }' |
        sort >"$work/$1.registry"
}

# What an earlier, interrupted run may have left.
for msi in "$release" "$other" "$newer"; do
    msiexec /x "$msi" /qn >/dev/null 2>&1 || true
done
snapshot before

# msiexec under Wine has ended only once its work was done; each step
# still waits for the entries it expects, with a time-out.
msiexec /i "$release" /qn || fail "msiexec /i ended with status $?"
wait_until 30 "the entry of $release" entries_are "$(property "$release" ProductCode)"
check_installed "$release" $arch "$version"
wine "$launch_check" "$(programs_of $arch)\\$name.exe" || fail "the installed program did not start and close"

msiexec /i "$other" /qn || fail "msiexec /i of the $other_arch package ended with status $?"
wait_until 30 "the $other_arch package replacing the $arch one" entries_are "$(property "$other" ProductCode)"
check_installed "$other" $other_arch "$version"
gone "$(unix_path "$(programs_of $arch)")" || fail "the $arch files stayed beside the $other_arch ones"

msiexec /i "$newer" /qn || fail "msiexec /i of the newer package ended with status $?"
newer_code=$(property "$newer" ProductCode)
wait_until 30 "the newer package replacing the older one" entries_are "$newer_code"
check_installed "$newer" $arch $newer_version
grep -q "newer build $newer_version" "$(unix_path "$(programs_of $arch)")/README.txt" ||
    fail "the newer package left the older files"
gone "$(unix_path "$(programs_of $other_arch)")" || fail "the $other_arch files stayed after the upgrade"

echo "the older package again, to be refused:"
if msiexec /i "$release" /qn; then fail "the older package installed over the newer one"; fi
entries_are "$newer_code" || fail "the refused older package changed the entries: $(entries)"

msiexec /x "$newer_code" /qn || fail "msiexec /x ended with status $?"
wait_until 30 "msiexec /x removing the entry" entries_are ""
snapshot after
for kind in files registry; do
    left=$(comm -13 "$work/before.$kind" "$work/after.$kind")
    [ -z "$left" ] || fail "$kind left behind: $left"
done

exit_on_failures "the Windows Installer package"
echo "msi: installed, started, closed, replaced across architectures, upgraded, kept from a downgrade and removed without a trace"
