#!/usr/bin/env bash
# Runs the real program in a real X window (Xvfb) to check that a learner's
# files survive ordinary accidents:
#   - a damaged dictionary named at start-up is reported and left byte for byte,
#   - Return in the "reset every status" question answers No,
#   - a second start brings the running window forward instead of running twice.
# Screenshots go to the folder given as the first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=${1:-$build/e2e-screenshots}

# shellcheck source=tools/e2e-common.sh
. "$root/tools/e2e-common.sh"

home=$(mktemp -d)
dictionaries="$home/Vocabrium Dictionaries"
mkdir -p "$home/.config/Vocabrium" "$dictionaries"
cp "$build/Default Dictionaries/default.dic" "$dictionaries/"
head -c 3000 /dev/urandom > "$dictionaries/broken.dic"
before=$(md5sum < "$dictionaries/broken.dic")
printf '[General]\nspeak=false\nfileName=%s\nMW_size=@Size(640 520)\nMW_pos=@Point(0 0)\n' \
    "$dictionaries/broken" > "$home/.config/Vocabrium/Vocabrium.conf"

program=
start_display
trap finish EXIT

run() { HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=xcb "$build/vocabrium"; }
run &
program=$!

fail=0

focus_window "Ошибка"
shot files-1-damaged-dictionary
dismiss "Ошибка" Return         # the error box
accept_warning "default - Vocabrium"

# Learn button has the focus; Tab to "Не изучать" marks the first word learned.
key Tab
key Return
key ctrl+r
focus_window "Вопрос"
shot files-2-reset-question
check "Return closes the question" dismiss "Вопрос" Return   # must answer No
focus_main

# A second start must not run a second program.
second_started=$(date +%s)
run &
second=$!
check "a second start ends by itself" wait_gone "$second"
check "the first copy still runs" kill -0 "$program"
windows=$(xdotool search --name ' - Vocabrium' | wc -l)
check "one main window" test "$windows" -eq 1
shot files-3-after-second-start

focus_main
key ctrl+q
wait_gone "$program"

inf="$dictionaries/default.inf"
check "the damaged dictionary is unchanged" test "$(md5sum < "$dictionaries/broken.dic")" = "$before"
check "the statuses were saved" test -f "$inf"
status=$(od -An -tx1 -j8 -N4 "$inf" 2>/dev/null | tr -d ' \n')
check "Return kept the learned word (status $status)" test "$status" = "00000064"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
