#!/usr/bin/env bash
# Checks the desktop files laid out as they are installed: each validates with the
# tool that desktops use, the file types reach the MIME database, the manual pages
# format without a warning and the icons are there in every size.
# Usage: check-desktop-files.sh SHARE_DIR ICON_SIZE...
set -u
share=$(realpath "$1")
shift
here=$(dirname "$(realpath "$0")")
app_id=example.orvel.Ludra
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Runs a checker that must succeed and print nothing.
quiet() {
    local output
    if ! output=$("$@" 2>&1) || [[ -n $output ]]; then
        fail "$*"$'\n'"$output"
    fi
}

quiet desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/$app_id.metainfo.xml" >"$work/appstream" 2>&1 ||
    fail "appstreamcli validate"$'\n'"$(cat "$work/appstream")"
# The tree as installed: the metainfo's launchable names a desktop file that is there.
appstreamcli validate-tree --no-net "$share/.." >"$work/appstream" 2>&1 ||
    fail "appstreamcli validate-tree"$'\n'"$(cat "$work/appstream")"
quiet xmllint --noout "$share/mime/packages/$app_id.xml"

# The MIME types as a desktop sees them: a database of our own types beside the system's.
export XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share GIO_USE_VFS=local
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$share/mime/packages/$app_id.xml" "$XDG_DATA_HOME/mime/packages/"
quiet update-mime-database "$XDG_DATA_HOME/mime"

expect_type() {
    local file=$work/$1 expected=$2 actual
    printf 'PACK\0\0\0\0\0\0\0\0' >"$file"
    actual=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    [[ $actual == "$expected" ]] || fail "$1 is '$actual', not $expected"
}
expect_type x.skq application/x-ludra-question
expect_type x.skz application/x-ludra-set-list
expect_type 'Pytanie 01.SKQ' application/x-ludra-question

expect_line() {
    grep -qxF "$2" "$XDG_DATA_HOME/mime/$1" || fail "mime/$1 lacks '$2'"
}
for type in question set-list; do
    expect_line subclasses "application/x-ludra-$type application/x-ludra-archive"
    expect_line icons "application/x-ludra-$type:application-x-ludra-$type"
    expect_line generic-icons "application/x-ludra-$type:x-office-document"
    [[ -f $share/icons/hicolor/scalable/mimetypes/application-x-ludra-$type.svg ]] ||
        fail "no icon for application/x-ludra-$type"
done

# Pages as written (build tree) or compressed (installed).
for folder in man1 pl/man1; do
    for page in ludra ludra-skq; do
        file=$share/man/$folder/$page.1
        [[ -f $file ]] || file=$file.gz
        if [[ -f $file ]]; then
            zcat -f "$file" >"$work/page.1"
            quiet groff -k -man -ww -z -Tutf8 "$work/page.1"
        else
            fail "manual page $folder/$page missing"
        fi
    done
done

# Each size is a square RGBA picture with a transparent corner.
[[ -f $share/icons/hicolor/scalable/apps/$app_id.svg ]] || fail "no scalable application icon"
for size in "$@"; do
    png=$share/icons/hicolor/${size}x$size/apps/$app_id.png
    info=$("$here/png-info.py" "$png" 2>&1)
    [[ $info == "$size $size 6 0" ]] || fail "$png: $info"
done

((failures == 0)) && echo 'desktop files valid'
exit $((failures > 0))
