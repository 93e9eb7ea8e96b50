#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) on a throw-away home folder
# whose default dictionary has five words learned 90 days ago, all due:
# starts a review run (Ctrl+Y), remembers the first word asked, and ends the
# program with SIGTERM in the middle of the run, as a logout does. The
# statuses file must be byte for byte what it was, and the schedule must hold
# the one answer given and the four words still due. Then a second start
# must offer those four again. Screenshots go to the folder given as the
# first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

tag=review-
# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

home=$(mktemp -d)
dictionaries="$home/Vocabrium Dictionaries"
mkdir -p "$home/.config/Vocabrium" "$dictionaries"
cp "$build/Default Dictionaries/"* "$dictionaries/"
# Memorising then the card: a review asks every word on the card, where
# Return says "remembered".
printf '[General]\nspeak=false\nmodel=1, 3\nMW_size=@Size(640 520)\nMW_pos=@Point(0 0)\n' \
    > "$home/.config/Vocabrium/Vocabrium.conf"

# Statuses (the first five words learned) and their review schedule, in the
# program's own stream formats.
python3 - "$dictionaries/default.dic" "$root/data/dictionaries/default.tsv" <<'EOF'
import datetime, struct, sys
dic, tsv = sys.argv[1:3]
count = struct.unpack('>I', open(dic, 'rb').read(4))[0]
with open(dic[:-3] + 'inf', 'wb') as inf:
    inf.write(struct.pack('>I', count + 1) + struct.pack('>i', 999))
    inf.write(b''.join(struct.pack('>i', 100 if i < 5 else 0) for i in range(count)))
words = [line.split('\t')[0].strip().lower() for line in open(tsv, encoding='utf-8') if not line.startswith('#')][:5]
julian = lambda days: datetime.date.today().toordinal() + 1721425 - days
with open(dic[:-3] + 'rev', 'wb') as rev:
    rev.write(struct.pack('>III', 0x56524556, 1, len(words)))
    for word in sorted(words):
        text = word.encode('utf-16-be')
        rev.write(struct.pack('>I', len(text)) + text)
        rev.write(struct.pack('>ddqqII', 3.7145, 5.1618, julian(94), julian(90), 0, 0))
    rev.write(struct.pack('>I', 0))
EOF
cp "$dictionaries/default.inf" "$home/statuses-before"

# What the schedule says: words reviewed once, and words due today.
schedule() {
    python3 - "$dictionaries/default.rev" <<'EOF'
import datetime, struct, sys
data = open(sys.argv[1], 'rb').read()
magic, version, count = struct.unpack_from('>III', data, 0)
at, reviewed, due = 12, 0, 0
today = datetime.date.today().toordinal() + 1721425
for _ in range(count):
    length = struct.unpack_from('>I', data, at)[0]
    at += 4 + length
    stability, difficulty, last, due_day, reviews, lapses = struct.unpack_from('>ddqqII', data, at)
    at += 40
    reviewed += reviews == 1
    due += 0 < due_day <= today
print(f"{count} {reviewed} {due}")
EOF
}

program=
start_display
trap finish EXIT
start() {
    HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=xcb "$build/vocabrium" &
    program=$!
    accept_warning "default - Vocabrium"
}

fail=0

start
shot 0-due
key ctrl+y
check "ctrl+y asks the first word on the card" lesson_is "Карточка"
shot 1-card
answer Return                   # remembered
check "the next word is asked" lesson_is "Карточка"
kill -TERM "$program"
check "SIGTERM ends the program" wait_gone "$program"
program=

check "the statuses are what they were before the run" cmp -s "$home/statuses-before" "$dictionaries/default.inf"
read -r cards reviewed due <<< "$(schedule)"
check "the schedule keeps all five words ($cards)" test "$cards" = 5
check "the answer given is recorded ($reviewed reviewed)" test "$reviewed" = 1
check "the four words not asked are still due ($due)" test "$due" = 4

start
key ctrl+y
check "a second start asks the words still due" lesson_is "Карточка"
shot 2-again
kill -TERM "$program"
wait_gone "$program"
program=
check "the statuses are still what they were" cmp -s "$home/statuses-before" "$dictionaries/default.inf"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
