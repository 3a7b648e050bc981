# What the checks of the Windows packages share (check_installer.sh,
# check_msi.sh), sourced first, beside tests/checks.sh. Both take the same arguments:
#
#     check_<package>.sh <build-dir> <work-dir> <arch> <wine-run> <prefix> <launch-check.exe> <name> <version> <publisher>
if [ $# -ne 9 ]; then
    echo "usage: $(basename "$0") <build-dir> <work-dir> <arch> <wine-run> <prefix> <launch-check.exe> <name> <version> <publisher>" >&2
    exit 2
fi
build=$1
work=$2
arch=$3
wine_run=$4
prefix=$5
launch_check=$6
name=$7
version=$8
publisher=$9
. "$(dirname "$0")/../../../tests/checks.sh"

# A Windows program in the build tree's Wine prefix.
wine() { "$wine_run" "$prefix" "$@"; }

# Where 64-bit Windows puts a program of each architecture (x64 or x86),
# and which view of the registry (reg's /reg:64 or /reg:32) holds its keys.
program_files_of() {
    case $1 in
        x64) echo "Program Files" ;;
        x86) echo "Program Files (x86)" ;;
        *) echo "unknown architecture $1: x64 or x86" >&2; exit 2 ;;
    esac
}
view_of() { [ "$1" = x64 ] && echo 64 || echo 32; }

# expect_lines <text> <line>...: the text holds each line (reg query's
# "name    type    value"), else a failure per missing line.
expect_lines() {
    local text=$1 line
    shift
    for line in "$@"; do
        printf '%s\n' "$text" | grep -qF -- "$line" || fail "no \"$line\""
    done
}

# gone <path>...: none of the paths exists.
gone() {
    local path
    for path in "$@"; do
        [ ! -e "$path" ] || return 1
    done
}

# shortcut_of <file.lnk>: the shell link's target, then its icon location
# ("file,index"; empty when the link shows its target's own icon).
shortcut_of() {
    python3 - "$1" <<'EOF'
import struct
import sys

data = open(sys.argv[1], "rb").read()
flags, = struct.unpack_from("<I", data, 20)
icon_index, = struct.unpack_from("<i", data, 56)
pos = 76
if flags & 0x1:  # the target's item ID list
    pos += 2 + struct.unpack_from("<H", data, pos)[0]
target = ""
if flags & 0x2:  # the link info: the target's local path
    size, _, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, pos)
    def text(offset):
        start = pos + offset
        return data[start:data.index(b"\0", start)].decode("latin-1")
    if info_flags & 0x1:
        target = text(base) + text(suffix)
    pos += size
width = 2 if flags & 0x80 else 1
icon = ""
for bit in (0x4, 0x8, 0x10, 0x20, 0x40):  # name, relative path, working directory, arguments, icon
    if flags & bit:
        count, = struct.unpack_from("<H", data, pos)
        value = data[pos + 2:pos + 2 + count * width].decode("utf-16-le" if width == 2 else "latin-1")
        pos += 2 + count * width
        if bit == 0x40:
            icon = f"{value},{icon_index}"
print(target)
print(icon)
EOF
}
