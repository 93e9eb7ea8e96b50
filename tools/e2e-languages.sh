#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) on a throw-away home folder
# with the default settings but speech: downloads the first French frequency
# dictionary, learns its first word, and checks that the page showed the
# word's French transcription and that the voice spoke it in French (a
# French file in the speech cache, none in English). Then opens the default
# English dictionary again and finds its English transcription. No question
# is asked about either language. Screenshots go to the folder given as the
# first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

tag=languages-
# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

page="$build/site/dictionaries.html"
name=french-1
# The row of the dictionary in the downloader's list, counting from 0.
row=$(grep -a -o 'href="[^"]*\.dic"' "$page" | awk -v want="href=\"$name.dic\"" '$0 == want { print NR - 1 }')
[ -n "$row" ] || { echo "FAIL: $name is not on the site's list"; exit 1; }
first_word=$(grep -v '^#' "$root/site/dictionaries/$name.tsv" | awk 'NR == 1' | cut -f1)
english_word=$(head -1 "$root/data/dictionaries/default.tsv" | cut -f1)

# A word's transcription in one of the tables the build lays out.
transcription() { # table word
    python3 - "$build/Transcriptions/$1.trn" "$2" <<'PY'
import struct, sys
data, want = open(sys.argv[1], 'rb').read(), sys.argv[2].lower()
def text(at):
    length = struct.unpack_from('>I', data, at)[0]
    if length == 0xffffffff:
        return '', at + 4
    return data[at + 4:at + 4 + length].decode('utf-16-be'), at + 4 + length
count, at = struct.unpack_from('>I', data, 0)[0], 4
for _ in range(count):
    word, at = text(at)
    value, at = text(at)
    if word == want:
        print(value)
        break
PY
}
french=$(transcription French "$first_word")
english=$(transcription English "$english_word")
[ -n "$french" ] && [ -n "$english" ] || { echo "FAIL: no transcription of '$first_word' or '$english_word' in the tables"; exit 1; }

home=$(mktemp -d)
mkdir -p "$home/.config/Vocabrium"
# Default settings (English, English transcriptions), speech on, the
# memorising and card lessons.
printf '[General]\nspeak=true\nmodel=1, 3\nMW_size=@Size(640 520)\nMW_pos=@Point(0 0)\n' \
    > "$home/.config/Vocabrium/Vocabrium.conf"
unset VOCABRIUM_SITE_URL VOCABRIUM_ADVERT_URL

program=
start_display
trap finish EXIT

fail=0
label_holds() { window_says labels | grep -F -- "$1" >/dev/null; }
shows() { wait_for label_holds "$1"; } # text: some label of the window holds it

HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache QT_QPA_PLATFORM=xcb "$build/vocabrium" &
program=$!
accept_warning "default - Vocabrium"
check "the English dictionary shows its English transcription" shows "[$english]"

key ctrl+d
focus_window "Скачать словарь"
wait_for window_says cells || { echo "FAIL: the site's list did not arrive"; exit 1; }
key Tab
key Home
# Down to the dictionary's row, checking the selection as a screen reader
# reads it.
wanted=$(grep -a 'href="'"$name"'.dic"' "$page" | LC_ALL=C sed 's/.*">//; s/<\/a>.*//' | iconv -f windows-1251 -t utf-8)
for _ in $(seq $((row + 3))); do
    [ "$(window_says selected || true)" = "$wanted" ] && break
    key Down
    settled
done
check "the list selects «$wanted»" test "$(window_says selected || true)" = "$wanted"
shot 0-list
key Tab
key Return
dismiss "Информация" Return      # Yes: start learning it
check "the French dictionary is open" wait_window "$name - Vocabrium"
focus_main
check "its first word shows the French transcription" shows "[$french]"
shot 1-french

# Choose the first word, start, memorise, remember it on the card.
key Return
key Tab Tab Tab
key Return
lesson_is "Запоминание"
shot 2-memorising
answer Return
lesson_is "Карточка" && answer Return
check "the word is learned" dismiss "Поздравляю" Return
focus_main

cache="$home/.cache/Vocabrium/speech"
spoken() { find "$cache" -path "*/$1/*.wav" 2>/dev/null | grep . >/dev/null; }
check "the word was spoken in French" spoken fr
check "nothing was spoken in English" bash -c "! find '$cache' -path '*/en/*.wav' | grep . >/dev/null"
check "the dictionary keeps its language" grep -q '^foreign=fr$' "$home/Vocabrium Dictionaries/$name.lang"

# Back to the default dictionary through «Открыть словарь...».
key ctrl+o
focus_window "Выберите словарь"
xdotool type --delay 20 "$home/Vocabrium Dictionaries/default.dic"
key Return
check "the default dictionary is open again" wait_window "default - Vocabrium"
focus_main
check "and shows English again" shows "[$english]"
shot 3-english-again
if xdotool search --name "Язык словаря" >/dev/null 2>&1; then
    echo "FAIL: a question about the language was asked"; fail=1
fi
key ctrl+q
wait_gone "$program"
program=
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
