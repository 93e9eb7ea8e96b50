#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) on a throw-away home folder
# with nothing configured: opens the downloader (Ctrl+D), which reads the site
# collection laid out beside the program, downloads the first dictionary,
# agrees to learn it, learns its first word and checks the files written.
# Screenshots go to the folder given as the first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

tag=download-
# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

page="$build/site/dictionaries.html"
[ -f "$page" ] || { echo "FAIL: the build laid out no site ($page)"; exit 1; }
# The first dictionary the list offers, and its first word.
# (awk reads to the end: "head" would close the pipe early, and pipefail
# would take the writer's SIGPIPE for a failure.)
name=$(grep -o 'href="[^"]*\.dic"' "$page" | awk 'NR == 1' | sed 's/href="//; s/\.dic"//')
source="$root/site/dictionaries/$name.tsv"
first_word=$(grep -v '^#' "$source" | awk 'NR == 1' | cut -f1)
first_translation=$(grep -v '^#' "$source" | awk 'NR == 1' | cut -f2)

home=$(mktemp -d)
mkdir -p "$home/.config/Vocabrium"
# No site address: the default must serve. Speech off, as in tools/e2e-xvfb.sh.
printf '[General]\nspeak=false\nmodel=1, 3, 4, 2\nMW_size=@Size(640 520)\nMW_pos=@Point(0 0)\n' \
    > "$home/.config/Vocabrium/Vocabrium.conf"
unset VOCABRIUM_SITE_URL VOCABRIUM_ADVERT_URL

program=
start_display
trap finish EXIT

HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=xcb "$build/vocabrium" &
program=$!


accept_warning "default - Vocabrium"

key ctrl+d
focus_window "Скачать словарь"
wait_for window_says cells || { echo "FAIL: the site's list did not arrive"; exit 1; }
shot 0-list
# Into the table, onto its first row, then to the download button.
key Tab
key Home
key Tab
key Return
focus_window "Информация"
shot 1-question
dismiss "Информация" Return      # Yes: start learning it
focus_window "$name - Vocabrium"
shot 2-opened

# The same keyboard walk as tools/e2e-xvfb.sh: choose the first word, start,
# then memorising, card, writing and the choice lesson until it is learned.
key Return
key Tab Tab Tab
key Return
lesson_is "Запоминание" && answer Return
lesson_is "Карточка" && answer Return
lesson_is "Написание" && xdotool type --delay 30 "$first_word" && answer Return
learn_word "$first_word" "$first_translation"
focus_window "Поздравляю"
shot 3-congratulation
dismiss "Поздравляю" Return
focus_main
key ctrl+q
wait_gone "$program"

dictionaries="$home/Vocabrium Dictionaries"
fail=0
cmp -s "$dictionaries/$name.dic" "$build/site/$name.dic" || { echo "FAIL: $name.dic was not downloaded whole"; fail=1; }
grep -q '^learnedCount=1$' "$home/.config/Vocabrium/Vocabrium.conf" || { echo "FAIL: learnedCount is not 1"; fail=1; }
grep -q "^fileName=.*$name\$" "$home/.config/Vocabrium/Vocabrium.conf" || { echo "FAIL: $name is not the open dictionary"; fail=1; }
status=$(od -An -tx1 -j8 -N4 "$dictionaries/$name.inf" 2>/dev/null | tr -d ' \n')
[ "$status" = "00000064" ] || { echo "FAIL: the first word's status is '$status', not learned"; fail=1; }
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
