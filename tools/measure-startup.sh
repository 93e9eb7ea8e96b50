#!/usr/bin/env bash
# Measures the program's start-up time to a shown window and its memory, with
# the default dictionary and with a generated dictionary of 100 000 words,
# in a real X window (Xvfb) on throw-away home folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
[ -x "$build/vocabrium" ] || "$root/tools/build.sh"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null \
    || { echo "needs xvfb and xdotool (apt-get install xvfb xdotool)" >&2; exit 1; }

display=:$((80 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

measure() { # label, dictionary base name or empty
    local home="$work/$1"
    mkdir -p "$home/.config/Vocabrium"
    if [ -n "$2" ]; then
        mkdir -p "$home/Vocabrium Dictionaries"
        cp "$2.dic" "$home/Vocabrium Dictionaries/"
        printf '[General]\nfileName=%s\n' "$home/Vocabrium Dictionaries/$(basename "$2")" \
            > "$home/.config/Vocabrium/Vocabrium.conf"
    fi
    local start end pid
    start=$(date +%s%N)
    HOME=$home XDG_CONFIG_HOME=$home/.config "$build/vocabrium" >/dev/null 2>&1 &
    pid=$!
    # The start-up warning opens right after the main window is shown.
    until xdotool search --name "Предупреждение" >/dev/null 2>&1; do sleep 0.01; done
    end=$(date +%s%N)
    sleep 1
    local rss
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    printf '%-28s start-up %5d ms   memory (RSS) %6d KiB\n' "$1" $(( (end - start) / 1000000 )) "$rss"
}

measure "default dictionary" ""
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "word%d\tперевод номер %d\n", i, i }' > "$work/big.tsv"
"$build/dictool" to-dic "$work/big.tsv" "$work/big.dic"
measure "100 000 words" "$work/big"
