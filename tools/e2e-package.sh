#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt-get (as a
# learner would), and runs the installed /usr/bin/vocabrium in a real X
# window (Xvfb) on a throw-away home folder, from a folder that is not the
# build: it must show the default dictionary, open its help without a
# browser, and on close save the statuses and the learned list in the home
# folder, never under /usr; and download a dictionary from the site
# installed beside its data. A package that was not installed before is
# removed again at the end. Screenshots go to the folder given as the first
# argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"
sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=900)

"$root/tools/package.sh" >/dev/null
package=$(ls "$build"/vocabrium_*.deb)
installed_before=false
dpkg-query -W -f='${Status}' vocabrium 2>/dev/null | grep -q "install ok installed" && installed_before=true
"${apt[@]}" install "$package" >/dev/null

home=$(mktemp -d)
program=
start_display
cleanup() {
    finish
    $installed_before || "${apt[@]}" remove vocabrium >/dev/null || true
}
trap cleanup EXIT

# A fresh user: no settings, no dictionaries, an English system.
(cd / && HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share LANG=C.UTF-8 \
    QT_QPA_PLATFORM=xcb exec /usr/bin/vocabrium) &
program=$!

fail=0

accept_warning "default - Vocabrium"
shot package-1-installed
check "the data folder is the installed one" test "$(readlink "/proc/$program/cwd")" = /usr/share/vocabrium

key F1
check "F1 opens the help window" focus_window "Справка"
shot package-2-help
dismiss "Справка" Escape
focus_main

# Learn button has the focus; Tab to "Не изучать" marks the first word learned.
key Tab
key Return

# The downloader reads the site installed with the program's data.
page=/usr/share/vocabrium/site/dictionaries.html
name=$(grep -o 'href="[^"]*\.dic"' "$page" | awk 'NR == 1' | sed 's/href="//; s/\.dic"//')
key ctrl+d
check "ctrl+d opens the downloader" focus_window "Скачать словарь"
check "it lists the site's dictionaries" wait_for window_says cells
shot package-3-downloader
key Tab
key Home
key Tab
key Return
check "the download asks to start learning" dismiss "Информация" Return
check "the downloaded dictionary is open" focus_window "$name - Vocabrium"
key ctrl+q
wait_gone "$program"
check "ctrl+q ends the program" bash -c "! kill -0 $program 2>/dev/null"
program=

inf="$home/Vocabrium Dictionaries/default.inf"
check "the default dictionaries were copied" test -f "$home/Vocabrium Dictionaries/default.dic"
status=$(od -An -tx1 -j8 -N4 "$inf" 2>/dev/null | tr -d ' \n')
check "the statuses were saved (first word $status)" test "$status" = "00000064"
check "the learned list is in ~/.local/share/Vocabrium" test -f "$home/.local/share/Vocabrium/MyLearnedWords.dic"
check "nothing was written under /usr/share/vocabrium" test ! -e /usr/share/vocabrium/MyLearnedWords.dic
check "the dictionary was downloaded from the installed site" \
    cmp -s "$home/Vocabrium Dictionaries/$name.dic" "/usr/share/vocabrium/site/$name.dic"
check "the menu entry is installed" test -f /usr/share/applications/io.github.vocabrium.vocabrium.desktop
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
