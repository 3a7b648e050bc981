#!/bin/sh
# What Kalvetor installs, checked two ways:
#   check_installation.sh install <build-dir> <work-dir> <app-id>
#     `cmake --install` into a scratch DESTDIR under /usr: exactly the
#     expected files, no run path in the program, the desktop file and
#     the AppStream metainfo valid as installed; and debian/copyright is the
#     one the build makes from .reuse/dep5, machine-readable with every
#     licence in full;
#   check_installation.sh deb <kalvetor.deb> <work-dir> <app-id> <version>
#     a Debian package built from debian/ (`make check-package` runs this):
#     exactly the expected files, the copyright file as above, and depends on Qt Widgets, its window system plugins,
#     the window's font and Qt's translations.
mode=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$3
id=$4
. "$source/tests/checks.sh"

# The files (not directories) under /usr, one a line, sorted; a Debian
# package adds its copyright, changelog and lintian overrides and compresses
# the manual pages.
expected_files() {
    {
        echo usr/bin/kalvetor
        echo "usr/share/applications/$id.desktop"
        echo "usr/share/metainfo/$id.metainfo.xml"
        for size in 32 64 128 256; do
            echo "usr/share/icons/hicolor/${size}x$size/apps/$id.png"
        done
        if [ "$mode" = deb ]; then
            echo usr/share/doc/kalvetor/copyright
            echo usr/share/doc/kalvetor/changelog.Debian.gz
            echo usr/share/lintian/overrides/kalvetor
            echo usr/share/man/man1/kalvetor.1.gz
            echo usr/share/man/bg/man1/kalvetor.1.gz
        else
            echo usr/share/man/man1/kalvetor.1
            echo usr/share/man/bg/man1/kalvetor.1
        fi
    } | sort
}

# Compares the files found (on standard input) with the expected ones.
check_files() {
    sort >"$work/found-files"
    expected_files >"$work/expected-files"
    if diff -u "$work/expected-files" "$work/found-files"; then
        echo "ok: the $(wc -l <"$work/expected-files") expected files and no others"
    else
        fail "the files differ from the expected ones (- missing, + unexpected)"
    fi
}

# The metainfo through `appstreamcli validate --strict`, which fails on
# warnings and hints as well as on errors. Pedantic notes are left out: the
# one here would be about the upper-case letters of the reverse-DNS id, which
# the id keeps on purpose. AppStream before 1.0 (Debian 12) does not know
# <developer>, which 1.0 asks for in place of <developer_name>: that one hint
# alone is allowed. The report is left in $output.
metainfo_valid() {
    output=$(appstreamcli validate --no-net --strict "$1" 2>&1) && return 0
    issues=$(printf '%s\n' "$output" | grep '^[EWI]: ')
    [ -n "$issues" ] && ! printf '%s\n' "$issues" | grep -qv '^I: [^ ]*: unknown-tag developer$'
}

# The installed copyright file: machine-readable (DEP-5, parsed strictly by
# python3-debian), each licence it names given in full as LICENSES/ has it,
# and a file of each kind under the licence .reuse/dep5 gives it.
check_copyright() {
    python=""
    for candidate in /usr/bin/python3 python3; do
        if "$candidate" -c 'import debian.copyright' 2>/dev/null; then
            python=$candidate
            break
        fi
    done
    if [ -z "$python" ]; then
        fail "no Python with the debian module (python3-debian) to read the copyright file"
        return
    fi
    if "$python" - "$1" "$source" <<'END'
import os
import sys
from debian.copyright import Copyright

path, source = sys.argv[1], sys.argv[2]
with open(path, encoding="utf-8") as f:
    copyright = Copyright(f, strict=True)
texts = {p.license.synopsis: p.license.text for p in copyright.all_license_paragraphs()}
failures = []
for files in copyright.all_files_paragraphs():
    name = files.license.synopsis
    if name not in texts:
        failures.append(f"{name} (for {' '.join(files.files)}) has no License paragraph with its text")
for name, text in texts.items():
    with open(os.path.join(source, "LICENSES", name + ".txt"), encoding="utf-8") as f:
        expected = f.read().strip().expandtabs()
    if text.strip() != expected:
        failures.append(f"the text of {name} differs from LICENSES/{name}.txt")
for file, license in [("window/qt/main.cpp", "MIT"), ("catalogue/content/entries.txt", "CC-BY-SA-4.0"),
                      ("resources/icon/kalvetor.ico", "CC-BY-SA-4.0"), ("docs/screenshot.png", "CC-BY-SA-4.0"),
                      ("resources/kalvetor.metainfo.xml.in", "FSFAP")]:
    if not os.path.isfile(os.path.join(source, file)):
        failures.append(f"{file}, whose licence is checked, is not in the source tree")
    paragraph = copyright.find_files_paragraph(file)
    if paragraph is None or paragraph.license.synopsis != license:
        failures.append(f"{file} is not under {license}")
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
END
    then
        echo "ok: copyright is DEP-5 with the full text of each licence"
    else
        fail "the copyright file"
    fi
}

rm -rf "$work"
mkdir -p "$work"

case $mode in
install)
    build=$(cd "$2" && pwd)
    root=$work/root
    DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install"; exit 1; }
    (cd "$root" && find . ! -type d | sed 's|^\./||') | check_files

    if readelf -d "$root/usr/bin/kalvetor" | grep -E 'RPATH|RUNPATH'; then
        fail "the installed program has a run path"
    else
        echo "ok: no run path in usr/bin/kalvetor"
    fi

    desktop=$root/usr/share/applications/$id.desktop
    metainfo=$root/usr/share/metainfo/$id.metainfo.xml
    # desktop-file-validate prints hints and warnings but fails only on
    # errors: any output at all counts here.
    if ! output=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$output" ]; then
        printf '%s\n' "$output"
        fail "desktop-file-validate"
    else
        echo "ok: desktop-file-validate $id.desktop"
    fi
    if metainfo_valid "$metainfo"; then
        echo "ok: appstreamcli validate $id.metainfo.xml"
    else
        printf '%s\n' "$output"
        fail "appstreamcli validate"
    fi
    if cmp "$build/copyright" "$source/debian/copyright"; then
        check_copyright "$source/debian/copyright"
    else
        fail "debian/copyright is not the one made from .reuse/dep5: cp $build/copyright debian/copyright"
    fi
    ;;
deb)
    version=$5
    deb=$2
    dpkg-deb -c "$deb" >"$work/contents"
    # Lines are "mode owner size date time ./path"; directories end in /.
    awk '$6 !~ /\/$/ { sub(/^\.\//, "", $6); print $6 }' "$work/contents" | check_files
    if dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/kalvetor/copyright >"$work/copyright"; then
        check_copyright "$work/copyright"
    else
        fail "the package has no readable usr/share/doc/kalvetor/copyright"
    fi
    [ "$(dpkg-deb -f "$deb" Package)" = kalvetor ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation qt6-translations-l10n; do
        printf '%s\n' "$depends" | tr ',' '\n' | grep -q "^ *$package\(t64\)\?\( \|$\)" ||
            fail "Depends lacks $package: $depends"
    done
    [ "$(failures)" -eq 0 ] && echo "ok: $(basename "$deb"), Depends: $depends"
    ;;
*)
    echo "usage: check_installation.sh install <build-dir> <work-dir> <app-id>" >&2
    echo "       check_installation.sh deb <kalvetor.deb> <work-dir> <app-id> <version>" >&2
    exit 2
    ;;
esac
exit_on_failures "the $mode check"
