#!/usr/bin/env bash
# Records every word of the shipped dictionaries with espeak-ng, so that a new
# user hears words before having recordings of their own:
#
#   tools/make-sounds.sh SOUNDS_FOLDER STAMP_FILE DICTIONARY.tsv...
#
# Each word goes to SOUNDS_FOLDER/<first character>/<word>.wav, letter case
# as stored, which is where the program looks for it. A dictionary names its
# language in a comment line "# language: fr" before its first entry (none
# means English). Words with a path separator get no file.
#
# STAMP_FILE lists the files made, one a line; the build uses it to run this
# only when a dictionary changes, and the next run first removes the files the
# last one made, so words dropped from a dictionary lose their sound too.
set -euo pipefail
export LC_ALL=C.UTF-8

[ $# -ge 2 ] || { echo "usage: $0 SOUNDS_FOLDER STAMP_FILE DICTIONARY.tsv..." >&2; exit 2; }
sounds=$1
stamp=$2
shift 2

voice_of() {
    case $1 in
        en) echo en-us ;;
        fr) echo fr-fr ;;
        de | es | it) echo "$1" ;;
        *) echo "" ;;
    esac
}

if [ -f "$stamp" ]; then
    while IFS= read -r made; do
        rm -f -- "$made"
    done <"$stamp"
fi
mkdir -p "$sounds"
list=$(mktemp)
trap 'rm -f "$list"' EXIT

for dictionary in "$@"; do
    language=en
    seen_entry=no
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        if [[ $line == \#* ]]; then
            if [ $seen_entry = no ] && [[ $line =~ ^#[[:space:]]*language[[:space:]]*:[[:space:]]*([A-Za-z-]+) ]]; then
                language=${BASH_REMATCH[1],,}
            fi
            continue
        fi
        [[ $line == *$'\t'* ]] || continue
        seen_entry=yes
        voice=$(voice_of "$language")
        if [ -z "$voice" ]; then
            echo "make-sounds: $dictionary: no voice for language '$language', skipped" >&2
            break
        fi
        word=${line%%$'\t'*}
        word="${word#"${word%%[![:space:]]*}"}"
        word="${word%"${word##*[![:space:]]}"}"
        [ -n "$word" ] || continue
        [[ $word == */* || $word == *\\* ]] && continue
        folder="$sounds/${word:0:1}"
        file="$folder/$word.wav"
        mkdir -p "$folder"
        espeak-ng -v "$voice" -w "$file" -- "$word"
        printf '%s\n' "$file" >>"$list"
    done <"$dictionary"
done

mv "$list" "$stamp"
trap - EXIT
