#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) on a throw-away home folder:
# answers the start-up warning, chooses a word, learns it through every kind
# of lesson with the keyboard alone, opens the editor and the progress box,
# closes the window and checks the files and settings written.
# Screenshots go to the folder given as the first argument (default:
# build/e2e-screenshots). E2E_SIZE ("width height", default "640 520") and
# E2E_LESSON_FONT (points) set the window size and the lesson font; the run
# fails when the window does not keep the size it was given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

tag=${E2E_TAG:-}
# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

home=$(mktemp -d)
mkdir -p "$home/.config/Vocabrium"
# Speech off keeps the run independent of a sound card; the fixed pause still applies.
# The model memorising, card, writing, choice puts every lesson on screen in a
# known order before the one exercise whose right answer the script cannot see.
size=${E2E_SIZE:-640 520}
{
    printf '[General]\nspeak=false\nmodel=1, 3, 4, 2\nMW_size=@Size(%s)\nMW_pos=@Point(0 0)\n' "$size"
    [ -n "${E2E_LESSON_FONT:-}" ] && printf 'lessonFontSize=%s\n' "$E2E_LESSON_FONT"
} > "$home/.config/Vocabrium/Vocabrium.conf"

program=
start_display
trap finish EXIT

HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=xcb "$build/vocabrium" &
program=$!


accept_warning "default - Vocabrium"
shot 0-word-selection
start_geometry=$(geometry)

# The learn button has the focus: choose the first word ("time"), then move
# to "Начать изучение" (learn, don't learn, learn all, start).
key Return
key Tab Tab Tab
key Return

first_word=$(head -1 "$root/data/dictionaries/default.tsv" | cut -f1)
first_translation=$(head -1 "$root/data/dictionaries/default.tsv" | cut -f2)

fail=0
check "the memorising lesson comes first" lesson_is "Запоминание"
shot 1-memorising; answer Return
check "then the card" lesson_is "Карточка"
shot 2-card;       answer Return
check "then the writing lesson" lesson_is "Написание"
shot 3-writing;    xdotool type --delay 30 "$first_word"; answer Return
check "then the choice" lesson_is "Выбор"
shot 4-choice

learn_word "$first_word" "$first_translation"

check "the word is learned" focus_window "Поздравляю"
shot 5-congratulation
dismiss "Поздравляю" Return
focus_main

key ctrl+e
check "ctrl+e opens the editor" focus_window "Редактор"
shot 6-editor
dismiss "Редактор" Escape
focus_main
key ctrl+d
check "ctrl+d opens the downloader" focus_window "Скачать словарь"
# The list of the site's dictionaries arrives after the window opens.
check "the downloader lists dictionaries" wait_for window_says cells
shot 8-downloader
dismiss "Скачать словарь" Escape
focus_main
key ctrl+p
check "ctrl+p shows the progress" focus_window "Прогресс"
shot 7-progress
dismiss "Прогресс" Return
focus_main
end_geometry=$(geometry)
key ctrl+q
wait_gone "$program"

conf="$home/.config/Vocabrium/Vocabrium.conf"
inf="$home/Vocabrium Dictionaries/default.inf"
grep -q '^learnedCount=1$' "$conf" || { echo "FAIL: learnedCount is not 1"; fail=1; }
[ -f "$inf" ] || { echo "FAIL: no statuses file"; fail=1; }
# The first status (after the count and the 999 marker) is 100: learned.
status=$(od -An -tx1 -j8 -N4 "$inf" | tr -d ' \n')
[ "$status" = "00000064" ] || { echo "FAIL: the first word's status is $status, not learned"; fail=1; }
[ -f "$home/Vocabrium Dictionaries/default.dic" ] || { echo "FAIL: dictionary not copied"; fail=1; }
[ "$start_geometry" = "$end_geometry" ] || { echo "FAIL: the window changed its size from $start_geometry to $end_geometry"; fail=1; }
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
