#!/usr/bin/env bash
# Installs the build into a throw-away prefix and checks the layout a
# desktop expects: the menu entry and the AppStream file pass their
# validators, and the installed program, started on a throw-away home
# folder, finds its data under share/vocabrium, copies the default
# dictionaries and, on SIGTERM, saves its learned list in the user's data
# folder and ends.
#   tests/installed-layout.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
program=
cleanup() { [ -n "$program" ] && kill -9 "$program" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
prefix=$work/usr
home=$work/home
mkdir -p "$home"

cmake --install "$build" --prefix "$prefix" >/dev/null
fail=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fail=1; fi
}
data=$prefix/share/vocabrium
id=io.github.vocabrium.vocabrium
check "the program is in bin/" test -x "$prefix/bin/vocabrium"
for item in "Default Dictionaries/default.dic" Transcriptions/English.trn Morphologic/common.exc \
            help.html site/dictionaries.html; do
    check "share/vocabrium/$item" test -f "$data/$item"
done
for size in 16 22 24 32 48 64 128; do
    check "icon ${size}x$size" test -f "$prefix/share/icons/hicolor/${size}x$size/apps/vocabrium.png"
done
check "the menu entry is valid" desktop-file-validate "$prefix/share/applications/$id.desktop"
check "the AppStream file is valid" appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
check "the installed tree is valid for AppStream" appstreamcli validate-tree --no-net "$prefix"
check "nothing but the program's files is installed" \
    test -z "$(cd "$prefix" && find . -type f | grep -v -e '^./bin/vocabrium$' -e '^./share/vocabrium/' \
        -e '^./share/applications/' -e '^./share/metainfo/' -e '^./share/icons/hicolor/' -e '^./share/doc/vocabrium/')"

HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/vocabrium" >"$work/output" 2>&1 &
program=$!
# The first start copies the default dictionaries before its warning box waits.
for _ in $(seq 300); do
    [ -f "$home/Vocabrium Dictionaries/default.dic" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
check "the working directory is the data folder" test "$(readlink "/proc/$program/cwd")" = "$data"
kill -TERM "$program"
ended=false
for _ in $(seq 300); do kill -0 "$program" 2>/dev/null || { ended=true; break; }; sleep 0.1; done
check "SIGTERM during the start-up warning ends the program" $ended
program=
check "the default dictionaries were copied" test -f "$home/Vocabrium Dictionaries/default.dic"
check "the learned list is in the user's data folder" test -f "$home/.local/share/Vocabrium/MyLearnedWords.dic"
check "nothing was written into the installed data" test ! -e "$data/MyLearnedWords.dic"
[ $fail -eq 0 ] || cat "$work/output"
exit $fail
