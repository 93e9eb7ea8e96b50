#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) on a throw-away home folder
# and imports an Anki package made by tools/make-apkg.py (seven notes, the
# first with a recording) through Файл → «Импорт...»: the file dialog, the
# preview of the first words, the new dictionary's name. Then it starts
# learning the first word, whose recording must be played: the media
# pipeline is watched opening the file. Screenshots go to the folder given
# as the first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

home=$(mktemp -d)
mkdir -p "$home/.config/Vocabrium"
printf '[General]\nspeak=true\nmodel=1, 3, 4, 2\nMW_size=@Size(640 520)\nMW_pos=@Point(0 0)\n' \
    > "$home/.config/Vocabrium/Vocabrium.conf"
/usr/bin/python3 - "$home/horse.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1); out.setsampwidth(2); out.setframerate(16000)
    out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(i / 8))) for i in range(48000)))
PY
/usr/bin/python3 "$root/tools/make-apkg.py" "$home/farm.apkg" "$home/horse.wav"

program=
start_display
trap finish EXIT

# The media pipeline logs every file it opens: that is the sign of playback.
export GST_DEBUG=filesrc:5,basesrc:4 GST_DEBUG_FILE=$home/media.log GST_DEBUG_NO_COLOR=1
HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=xcb "$build/vocabrium" &
program=$!

fail=0
played() { grep -q "horse\.wav" "$home/media.log" 2>/dev/null || ls -l "/proc/$program/fd" 2>/dev/null | grep -q "horse\.wav"; }

accept_warning " - Vocabrium"

# Файл is the first menu of the bar; «Импорт...» its fourth item.
window=$(xdotool search --name ' - Vocabrium' | head -1)
xdotool mousemove --window "$window" 20 10 click 1
menu_offers() { window_says menu | grep -qxF "$1"; }
check "the File menu opens" wait_for menu_offers "Импорт..."
key Down Down Down Down Return
focus_window "Импорт слов"     # the file dialog, its name field focused
xdotool type --delay 10 "$home/farm.apkg"
key Return
check "the preview of the first words is shown" wait_for window_says label "Первые слова:"
shot anki-1-preview
focus_window "Импорт слов"
key Return                      # accept the columns
check "the new dictionary's name is asked" wait_for window_says label "Имя нового словаря:"
dismiss "Импорт слов" Return    # keep the suggested name "farm"
check "the imported dictionary is open" focus_window "farm - Vocabrium"
shot anki-2-imported

# Choose the first word ("horse") and start learning: the memorising lesson
# pronounces it.
key Return
key Tab Tab Tab
key Return
check "the word's recording is played" wait_for played
shot anki-3-memorising

focus_main
key ctrl+q
wait_gone "$program"
program=

dictionaries="$home/Vocabrium Dictionaries"
check "the dictionary was written" test -f "$dictionaries/farm.dic"
check "the recording was kept beside it" cmp -s "$home/horse.wav" "$dictionaries/farm.sounds/horse.wav"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
