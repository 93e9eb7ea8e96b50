#!/usr/bin/env python3
"""Writes the frequency dictionaries of the dictionary site (site/dictionaries/).

  tools/make-site-lists.py BUILD_DIR

For English: the 3 000 most common words that the default dictionary
(data/dictionaries/default.tsv) lacks, in three levels of 1 000. For French,
German, Italian and Spanish: the 1 000 most common words that the language's
basic site dictionary lacks, in two parts of 500. "Most common" is the ranking
of tools/make-transcriptions.py (the unigram counts of Debian's onboard-data,
kept to words of the language's Debian word list).

Translations: the build's `dictool translate XX ru`, that is the offline
dictionaries tools/deps.sh installs (Mueller and FreeDict English-Russian,
FreeDict German/French/Italian-Russian), kept only when they look like a
plain translation (Cyrillic, short, no grammar note). Debian has no
Spanish-Russian dictionary, so Spanish words come from our own list alone.
The hand-checked corrections in site/corrections/<code>.tsv win over the
dictionaries: "word<TAB>translation" replaces a translation, "word<TAB>-"
drops the word. German nouns get their article from the gender the FreeDict
article gives; a German correction written in lower case or with its
article ("spielen", "das Alter") also sets how the list writes the word.

After running it, run tools/make-transcriptions.py so that every new word
has its transcription, and commit the lists with the tables.
"""

import gzip
import importlib.util
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
loader_spec = importlib.util.spec_from_file_location("transcriptions", os.path.join(ROOT, "tools/make-transcriptions.py"))
mt = importlib.util.module_from_spec(loader_spec)
loader_spec.loader.exec_module(mt)

AUTHOR = "Команда Vocabrium (частотный список onboard-data, переводы FreeDict и Mueller, проверены выборочно)"
OWN_AUTHOR = "Команда Vocabrium (частотный список onboard-data, переводы наши)"
LEVELS = {
    "en": [("english-1", "Английский: уровень 1", "1000 самых частых английских слов после основного словаря"),
           ("english-2", "Английский: уровень 2", "Следующая 1000 частых английских слов"),
           ("english-3", "Английский: уровень 3", "Третья 1000 частых английских слов")],
    "fr": [("french-1", "Французский: частые слова 1", "500 частых французских слов после основного словаря"),
           ("french-2", "Французский: частые слова 2", "Следующие 500 частых французских слов")],
    "de": [("german-1", "Немецкий: частые слова 1", "500 частых немецких слов после основного словаря, существительные с артиклем"),
           ("german-2", "Немецкий: частые слова 2", "Следующие 500 частых немецких слов, существительные с артиклем")],
    "es": [("spanish-1", "Испанский: частые слова 1", "500 частых испанских слов после основного словаря"),
           ("spanish-2", "Испанский: частые слова 2", "Следующие 500 частых испанских слов")],
    "it": [("italian-1", "Итальянский: частые слова 1", "500 частых итальянских слов после основного словаря"),
           ("italian-2", "Итальянский: частые слова 2", "Следующие 500 частых итальянских слов")],
}
PER_LIST = {"en": 1000, "fr": 500, "de": 500, "es": 500, "it": 500}
BASIC = {"en": "data/dictionaries/default.tsv", "fr": "site/dictionaries/french.tsv",
         "de": "site/dictionaries/german.tsv", "es": "site/dictionaries/spanish.tsv",
         "it": "site/dictionaries/italian.tsv"}
# Only German marks its nouns by a capital letter, so only there does the
# dictionary's gender safely give the article; French and Italian words are
# often nouns and something else ("pas", "son", "era").
FREEDICT = {"de": "deu-rus"}
# An article is a word of its own ("la ", "die "), or "l'" before a vowel;
# "lait" and "immer" begin with no article.
ARTICLE = re.compile(r"^(?:(der|die|das|le|la|les|il|lo|gli|i|el|los|las|un|une)\s+|l')", re.I)
GRAMMAR = re.compile(r"глагол|форма|прош\.|наст\.|мн\.|ед\.|ч\. от|см\.|употр|сокр|артикль|частица|местоим"
                     r"|предлог|суффикс|приставка|букв|косв|то, что|\bот\b|[A-Za-z]")


def fail(message):
    sys.exit("make-site-lists: " + message)


def read_tsv(path):
    entries = []
    if os.path.isfile(path):
        with open(path, encoding="utf-8") as text:
            for line in text:
                line = line.rstrip("\n")
                if line.startswith("#") or "\t" not in line:
                    continue
                word, translation = line.split("\t", 1)
                entries.append((word.strip(), translation.strip()))
    return entries


def bare(word):
    return ARTICLE.sub("", word.strip()).lower()


def inflected(dictool, words):
    """The English words that are a form of another word ("went", "houses")."""
    result = subprocess.run([dictool, "base-form"] + words, capture_output=True, text=True)
    bases = result.stdout.splitlines()
    if len(bases) != len(words):
        fail("dictool base-form did not answer word for word")
    return {w for w, b in zip(words, bases) if b.strip() != w}


def translate(dictool, code, words):
    result = subprocess.run([dictool, "translate", code, "ru"], input="\n".join(words) + "\n",
                            capture_output=True, text=True)
    found = {}
    for line in result.stdout.splitlines():
        if "\t" in line:
            word, translation = line.split("\t", 1)
            found[word] = translation.strip()
    return found


def plain(translation):
    """The translation when it reads as one: up to three short Cyrillic senses.
    A capitalized translation names a place or a person ("Сена" for "seine")."""
    translation = translation.replace("\u0301", "")  # stress marks of the FreeDict pairs
    if not translation or GRAMMAR.search(translation) or not re.match("[а-яё]", translation):
        return None
    senses = []
    for sense in translation.split(","):
        sense = sense.strip()
        if sense and len(sense) <= 25 and sense not in senses:
            senses.append(sense)
    senses = senses[:3]
    text = ", ".join(senses)
    return text if text and len(text) <= 45 else None


def genders(pair):
    """Gender of each noun of a FreeDict dictionary, from its "<n, masc>" tags,
    by the word in lower case (the index's own keys)."""
    index = os.path.join("/usr/share/dictd", f"freedict-{pair}.index")
    data = gzip.open(os.path.join("/usr/share/dictd", f"freedict-{pair}.dict.dz")).read()
    alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

    def number(text):
        value = 0
        for c in text:
            value = value * 64 + alphabet.index(c)
        return value

    result = {}
    with open(index, encoding="utf-8") as text:
        for line in text:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[0] in result:
                continue
            head = data[number(parts[1]):number(parts[1]) + min(number(parts[2]), 300)].decode("utf-8", "replace")
            tag = re.search(r"<n, (masc|fem|neut)", head)
            if tag:
                result[parts[0]] = tag.group(1)
    return result


def with_article(code, word, gender):
    vowel = re.match(r"[aeiouyàâéèêëîïôûùhAEIOUÀÂÉÈÊÎÔÛH]", word) is not None
    if code == "de":
        return {"masc": "der ", "fem": "die ", "neut": "das "}[gender] + word
    if code == "fr":
        return ("l'" if vowel else {"masc": "le ", "fem": "la "}.get(gender, "le ")) + word
    if code == "it":
        if vowel and not word.lower().startswith("h"):
            return "l'" + word
        if gender == "fem":
            return "la " + word
        return ("lo " if re.match(r"(s[^aeiou]|z|gn|ps|x|y)", word) else "il ") + word
    return word


def main():
    if len(sys.argv) != 2:
        fail("usage: make-site-lists.py BUILD_DIR")
    dictool = os.path.join(sys.argv[1], "dictool")
    if not os.access(dictool, os.X_OK):
        fail(f"{dictool} not found: build the project first")
    models = mt.models_folder()
    mt.COMMON_WORDS = 15000
    for code, lists in LEVELS.items():
        _, _, word_list, model, one_letter = mt.LANGUAGES[code]
        known = {bare(w) for w, _ in read_tsv(os.path.join(ROOT, BASIC[code]))}
        corrections = dict(read_tsv(os.path.join(ROOT, "site/corrections", code + ".tsv")))
        # A German correction may also set how the word is written: "spielen"
        # for a verb that the texts mostly have at a sentence start, which would
        # otherwise be shown as a noun, or "das Alter" where the dictionary's
        # gender is wrong.
        respelled = {}
        if code == "de":
            for key in corrections:
                plain_key = re.sub(r"^(der|die|das) ", "", key)
                if plain_key != key or plain_key.islower():
                    respelled[plain_key.lower()] = key
        ranked = mt.common_words(os.path.join(models, model), word_list, one_letter, code == "de")
        # Outside German a capitalized word is a name ("John", "Paris").
        candidates = [w for w in ranked if w.lower() not in known and (code == "de" or not w[0].isupper())]
        if code == "en":
            # A form teaches less than its word, and gets the word's translation.
            forms = inflected(dictool, candidates)
            candidates = [w for w in candidates if w not in forms]
        found = translate(dictool, code, candidates) if code != "es" else {}
        noun_gender = genders(FREEDICT[code]) if code in FREEDICT else {}
        chosen = []
        wanted = PER_LIST[code] * len(lists)
        for word in candidates:
            if len(chosen) == wanted:
                break
            translation = corrections.get(word)
            spelled = respelled.get(word.lower()) if translation is None else None
            if spelled:
                translation = corrections[spelled]
            if translation is None:
                translation = plain(found.get(word, ""))
            if not translation or translation == "-":
                continue
            shown = word
            gender = noun_gender.get(word.lower())
            if spelled:
                shown = spelled
            elif gender and word[0].isupper():
                shown = with_article(code, word, gender)
            chosen.append((shown, translation))
        if len(chosen) < wanted:
            print(f"{code}: only {len(chosen)} of {wanted} words have a translation")
        for number, (name, title, description) in enumerate(lists):
            part = chosen[number * PER_LIST[code]:(number + 1) * PER_LIST[code]]
            path = os.path.join(ROOT, "site/dictionaries", name + ".tsv")
            with open(path, "w", encoding="utf-8") as out:
                if code != "en":
                    out.write(f"# language: {code}\n")
                author = OWN_AUTHOR if code == "es" else AUTHOR
                out.write(f"# name: {title}\n# description: {description}\n# author: {author}\n")
                for word, translation in part:
                    out.write(f"{word}\t{translation}\n")
            print(f"{path}: {len(part)} words")


if __name__ == "__main__":
    main()
