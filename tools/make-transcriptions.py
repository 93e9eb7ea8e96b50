#!/usr/bin/env python3
"""Regenerates the transcription tables in data/transcriptions/.

For each language the program has a table for (English, French, German,
Spanish, Italian) this writes data/transcriptions/<Language>.tsv: one line per
word, the word in lower case, a tab, its IPA transcription from espeak-ng.
The build turns these text files into Transcriptions/<Language>.trn with
trntool, so building never needs espeak-ng; run this script by hand when the
shipped dictionaries change or espeak-ng improves, and commit the result.

Which words a table covers:
  * every word of every shipped dictionary (data/dictionaries/*.tsv) and of
    every dictionary of the dictionary site (site/dictionaries/*.tsv) of that
    language. A dictionary names its language in a comment line
    "# language: fr" before its first entry; a dictionary without such a
    line is English (as default.tsv is);
  * the 10 000 most common words of the language.

Where "most common" comes from: the unigram counts of the word-prediction
language models of Debian's package onboard-data (/usr/share/onboard/models/
en_US.lm, fr_FR.lm, de_DE.lm, es_ES.lm, it_IT.lm; GPL-3+). Each model lists
every word it knows with the number of times it was seen in its training
text. Counts of the spellings of a word that differ only in letter case are
added up; the words are ranked by that sum (ties alphabetically) and the
first 10 000 are taken, keeping only real words: letters only (an inner
apostrophe or hyphen allowed), found in the language's Debian word list
(wamerican, wfrench, wngerman, wspanish, witalian under /usr/share/dict/),
in lower case (German: in any case, since its nouns are capitalized),
and at least two letters long except for a few one-letter words of each
language. That drops names, abbreviations and tokenizer debris that the
models also count.

Needs: espeak-ng, the word lists above (apt-get install wamerican wfrench
wngerman wspanish witalian). The models are read from $ONBOARD_MODELS or
/usr/share/onboard/models; when neither holds them, onboard-data is fetched
with "apt-get download" and unpacked into a temporary folder (installing it
would pull in the whole on-screen keyboard).

What espeak-ng gets wrong is mended here: the hyphen it writes after a
French clitic ("la porte" [la- pˈɔʁt]) is dropped, and German loanwords it
reads as German words ("die Band" [bant], "der Jazz" [jats]) take the
readings of OVERRIDES, written by hand as German speakers say them.

With --refresh the tables are not made anew: the entries they hold are
mended as above and the words of the dictionaries that have none are
transcribed and added. That needs espeak-ng alone; run it after changing a
dictionary.

Usage: tools/make-transcriptions.py [--refresh] [LANGUAGE_CODE ...]
"""

import glob
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COMMON_WORDS = 10000
CHUNK = 400

# code: (table name, espeak-ng voice, word list, onboard model, one-letter words)
LANGUAGES = {
    "en": ("English", "en-us", "american-english", "en_US.lm", {"a", "i"}),
    "fr": ("French", "fr-fr", "french", "fr_FR.lm", {"a", "à", "y"}),
    "de": ("German", "de", "ngerman", "de_DE.lm", set()),
    "es": ("Spanish", "es", "spanish", "es_ES.lm", {"a", "e", "o", "u", "y"}),
    "it": ("Italian", "it", "italian", "it_IT.lm", {"a", "e", "è", "i", "o"}),
}

# Readings espeak-ng gets wrong, by language: the entry as the table keys it.
OVERRIDES = {
    "de": {
        "die band": "diː bˈɛnt",
        "jazz": "dʒˈɛs",
        "der jazz": "dɛɾ dʒˈɛs",
        "debüt": "debˈyː",
        "das debüt": "das debˈyː",
        "journalist": "ʒˌʊɾnalˈɪst",
        "der journalist": "dɛɾ ʒˌʊɾnalˈɪst",
        "ingenieur": "ˌɪnʒenjˈøːɾ",
        "der ingenieur": "dɛɾ ˌɪnʒenjˈøːɾ",
        "orange": "oɾˈɑ̃ːʒə",
        "die orange": "diː oɾˈɑ̃ːʒə",
        "garage": "ɡaɾˈaːʒə",
        "die garage": "diː ɡaɾˈaːʒə",
        "etage": "etˈaːʒə",
        "die etage": "diː etˈaːʒə",
        "cousin": "kuzˈɛ̃ː",
        "der cousin": "dɛɾ kuzˈɛ̃ː",
    },
}
# espeak-ng joins a French clitic to the next word with a hyphen.
CLITIC_HYPHEN = re.compile(r"-(?=\s|$)")

WORD = re.compile(r"^[^\W\d_]+(?:['’-][^\W\d_]+)*$")
# espeak-ng marks words it reads with another voice as "(en)...(fr)".
LANGUAGE_SWITCH = re.compile(r"\([a-z]{2,3}(?:-[a-z0-9]+)?\)")


def fail(message):
    sys.exit("make-transcriptions: " + message)


def models_folder():
    for folder in (os.environ.get("ONBOARD_MODELS"), "/usr/share/onboard/models"):
        if folder and os.path.isfile(os.path.join(folder, "en_US.lm")):
            return folder
    temp = tempfile.mkdtemp(prefix="onboard-data.")
    subprocess.run(["apt-get", "download", "onboard-data"], cwd=temp, check=True)
    debs = glob.glob(os.path.join(temp, "onboard-data_*.deb"))
    if not debs:
        fail("could not fetch onboard-data")
    subprocess.run(["dpkg-deb", "-x", debs[0], temp], check=True)
    return os.path.join(temp, "usr/share/onboard/models")


def dictionary_words():
    """Words of the shipped dictionaries, by language code."""
    words = {}
    for path in sorted(glob.glob(os.path.join(ROOT, "data/dictionaries/*.tsv"))
                       + glob.glob(os.path.join(ROOT, "site/dictionaries/*.tsv"))):
        language = "en"
        entries = []
        with open(path, encoding="utf-8") as text:
            for line in text:
                line = line.rstrip("\n")
                if line.startswith("#"):
                    found = re.match(r"#\s*language\s*:\s*([A-Za-z-]+)", line)
                    if found and not entries:
                        language = found.group(1).lower()
                    continue
                if not line.strip() or "\t" not in line:
                    continue
                entries.append(line.split("\t", 1)[0].strip())
        if language not in LANGUAGES:
            print(f"{os.path.basename(path)}: no table for language '{language}', skipped")
            continue
        words.setdefault(language, []).extend(w for w in entries if w)
    return words


def common_words(model, word_list, one_letter, any_case):
    known = set()
    with open(os.path.join("/usr/share/dict", word_list), encoding="utf-8") as text:
        for line in text:
            entry = unicodedata.normalize("NFC", line.strip())
            # Outside German a capitalized entry is a name.
            known.add(entry.lower() if any_case else entry)
    counts = {}
    spelling = {}  # lower case -> (count, most frequent spelling)
    in_unigrams = False
    with open(model, encoding="utf-8") as text:
        for line in text:
            line = line.strip()
            if line.startswith("\\"):
                in_unigrams = line == "\\1-grams:"
                continue
            if not in_unigrams or not line:
                continue
            parts = line.split(" ", 1)
            if len(parts) != 2 or not parts[0].isdigit():
                continue
            count, word = int(parts[0]), unicodedata.normalize("NFC", parts[1])
            if not WORD.match(word):
                continue
            lower = word.lower()
            if lower not in known or (len(lower) == 1 and lower not in one_letter):
                continue
            counts[lower] = counts.get(lower, 0) + count
            if count > spelling.get(lower, (0, ""))[0]:
                spelling[lower] = (count, word)
    ranked = sorted(counts, key=lambda w: (-counts[w], w))[:COMMON_WORDS]
    return [spelling[w][1] for w in ranked]


def espeak(voice, words):
    command = ["espeak-ng", "-q", "--ipa", "-v", voice]
    result = subprocess.run(command, input="\n".join(words) + "\n",
                            capture_output=True, text=True, check=True)
    return [line.strip() for line in result.stdout.splitlines() if line.strip()]


def transcribe(voice, words):
    """IPA of each word; one espeak-ng process per chunk, per word only where
    espeak-ng did not answer line for line."""
    result = {}
    for start in range(0, len(words), CHUNK):
        chunk = words[start:start + CHUNK]
        lines = espeak(voice, chunk)
        if len(lines) != len(chunk):
            lines = [" ".join(espeak(voice, [word])) for word in chunk]
        for word, ipa in zip(chunk, lines):
            ipa = LANGUAGE_SWITCH.sub("", ipa).strip()
            if ipa:
                result[word] = ipa
    return result


def mended(code, lower, ipa):
    """The reading of the table entry lower in the language code."""
    if lower in OVERRIDES.get(code, {}):
        return OVERRIDES[code][lower]
    if code == "fr":
        ipa = CLITIC_HYPHEN.sub("", ipa)
    return ipa


def write_table(path, name, voice, entries):
    with open(path, "w", encoding="utf-8") as out:
        out.write(f"# {name} transcriptions (IPA) made by tools/make-transcriptions.py\n")
        out.write(f"# with espeak-ng, voice {voice}. Regenerate rather than edit.\n")
        for lower in sorted(entries):
            if entries[lower]:
                out.write(f"{lower}\t{entries[lower]}\n")


def refresh(code, words):
    """Mends the table of language code and adds the dictionary words it lacks."""
    name, voice = LANGUAGES[code][0], LANGUAGES[code][1]
    path = os.path.join(ROOT, "data/transcriptions", name + ".tsv")
    entries = {}
    with open(path, encoding="utf-8") as text:
        for line in text:
            if line.startswith("#") or "\t" not in line:
                continue
            lower, ipa = line.rstrip("\n").split("\t", 1)
            entries[lower] = ipa
    missing = sorted({w for w in words if w.lower() not in entries})
    spoken = transcribe(voice, missing)
    for word in missing:
        if word in spoken:
            entries[word.lower()] = spoken[word]
    for lower in list(entries) + list(OVERRIDES.get(code, {})):
        entries[lower] = mended(code, lower, entries.get(lower, ""))
    write_table(path, name, voice, entries)
    print(f"{path}: {len(missing)} words added, {len(entries)} in all")


def main():
    arguments = sys.argv[1:]
    refreshing = "--refresh" in arguments
    codes = [a for a in arguments if a != "--refresh"] or list(LANGUAGES)
    for code in codes:
        if code not in LANGUAGES:
            fail(f"unknown language '{code}'; known: {' '.join(LANGUAGES)}")
    if subprocess.run(["which", "espeak-ng"], capture_output=True).returncode != 0:
        fail("espeak-ng is not installed")
    from_dictionaries = dictionary_words()
    if refreshing:
        for code in codes:
            refresh(code, from_dictionaries.get(code, []))
        return
    models = models_folder()
    os.makedirs(os.path.join(ROOT, "data/transcriptions"), exist_ok=True)
    for code in codes:
        name, voice, word_list, model, one_letter = LANGUAGES[code]
        words = {}
        for word in from_dictionaries.get(code, []) + common_words(
                os.path.join(models, model), word_list, one_letter, code == "de"):
            words.setdefault(word.lower(), word)
        spoken = transcribe(voice, sorted(set(words.values())))
        path = os.path.join(ROOT, "data/transcriptions", name + ".tsv")
        entries = {lower: mended(code, lower, spoken.get(words[lower], "")) for lower in words}
        write_table(path, name, voice, entries)
        print(f"{path}: {len(words)} words")


if __name__ == "__main__":
    main()
