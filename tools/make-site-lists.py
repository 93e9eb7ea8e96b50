#!/usr/bin/env python3
"""Writes the frequency dictionaries of the dictionary site (site/dictionaries/).

  tools/make-site-lists.py BUILD_DIR [LANGUAGE_CODE ...]

For English: the 3 000 most common words that the default dictionary
(data/dictionaries/default.tsv) lacks, in three levels of 1 000. For French,
German, Italian and Spanish: the 1 000 most common words that the language's
basic site dictionary lacks, in two parts of 500, everyday words first: those
whose first two Russian senses hold a word the default English dictionary
translates into ("chien": "пёс, собака", as "dog"), which the encyclopedic texts
behind the counts would otherwise push far down. "Most common" is the ranking
of tools/make-transcriptions.py (the unigram counts of Debian's onboard-data,
kept to words of the language's Debian word list).

Translations: the build's `dictool translate XX ru`, that is the offline
dictionaries tools/deps.sh installs (Mueller and FreeDict English-Russian,
FreeDict German/French/Italian-Russian), kept only when they look like a
plain translation (Cyrillic, short, no grammar note). Debian has no
Spanish-Russian dictionary, so Spanish words come from our own list alone.
The hand-checked corrections in site/corrections/<code>.tsv win over the
dictionaries: "word<TAB>translation" replaces a translation, "word<TAB>-"
drops the word, and a third column sets how the list writes the word
("Vorsitzender<TAB>председатель<TAB>der Vorsitzende"). German nouns get
their article from the gender the FreeDict article gives, French and Italian
nouns too where every FreeDict article of the word is a noun of one gender
(Italian FreeDict gives none: there the ending -o or -a tells it); a German
correction written in lower case or with its article ("spielen", "das
Alter") also sets how the list writes the word.

Forms are left out: an English word that is a form of another ("went"), and
in the other languages a word Hunspell takes for a form of another word
("llega", "joue") unless the language's FreeDict dictionary has it as a
headword of its own or a correction keeps it, and a feminine beside its
masculine ("nouvelle", "primera", "nuova") in any case. English spelling
variants ("colour" beside "color") appear once.

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
# The FreeDict dictionary of each language: its headwords are the words of
# their own, its tags the genders. Only German marks its nouns by a capital
# letter; French and Italian words are often nouns and something else
# ("pas", "son", "era"), so there every article of the word must be a noun.
FREEDICT = {"de": "deu-rus", "fr": "fra-rus", "it": "ita-rus", "es": "spa-eng"}
# An article is a word of its own ("la ", "die "), or "l'" before a vowel;
# "lait" and "immer" begin with no article.
ARTICLE = re.compile(r"^(?:(der|die|das|le|la|les|il|lo|gli|i|el|los|las|un|une)\s+|l')", re.I)
GRAMMAR = re.compile(r"глагол|форма|прош\.|наст\.|мн\.|ед\.|ч\. от|см\.|употр|сокр|артикль|частица|местоим"
                     r"|предлог|суффикс|приставка|букв|косв|то, что|\bот\b|[A-Za-z]")


def fail(message):
    sys.exit("make-site-lists: " + message)


def read_corrections(path):
    """word -> (translation, how the list writes it or None)."""
    found = {}
    for word, rest in read_tsv(path):
        translation, _, shown = rest.partition("\t")
        found[word] = (translation.strip(), shown.strip() or None)
    return found


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


def forms_of_others(dictool, code, words, headwords):
    """The words Hunspell of the language takes for a form of another
    word, less those the dictionary has as headwords."""
    result = subprocess.run([dictool, "base-form", "--stems=" + code] + words, capture_output=True, text=True)
    stems = result.stdout.split("\n")[:len(words)]
    if len(stems) != len(words):
        fail("dictool base-form did not answer word for word")
    return {w for w, s in zip(words, stems) if s.strip() and w.lower() not in headwords}


# Feminine endings and the masculine ones they come from: "française" is
# the feminine of "français", "nuova" of "nuovo", "primera" of "primero".
FEMININE = {"fr": [("trice", "teur"), ("euse", "eux"), ("enne", "en"), ("elle", "el"), ("ère", "er"),
                   ("ive", "if"), ("e", "")],
            "it": [("a", "o")], "es": [("a", "o")]}
# Months and weekdays go without an article ("en juin", "a maggio"); the
# Italian nouns in -a that are masculine.
NO_ARTICLE = {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
              "octobre", "novembre", "décembre", "lundi", "mardi", "mercredi", "jeudi", "vendredi",
              "samedi", "dimanche", "gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno",
              "luglio", "agosto", "settembre", "ottobre", "novembre", "dicembre", "lunedì", "martedì",
              "mercoledì", "giovedì", "venerdì", "sabato", "domenica"}
ITALIAN_MASCULINE_A = {"sistema", "problema", "programma", "tema", "clima", "dramma", "schema", "panorama",
                       "poeta", "pianeta", "cinema", "diploma", "telegramma", "papa", "pilota", "atleta",
                       "artista", "giornalista", "dentista", "turista", "collega", "idioma", "enigma"}


def feminine_forms(code, words):
    """The words that are the feminine of another one of the words."""
    present = {w.lower() for w in words}
    found = set()
    for word in words:
        lower = word.lower()
        for feminine, masculine in FEMININE.get(code, []):
            if lower.endswith(feminine) and len(lower) > len(feminine) + 2 \
                    and lower[:-len(feminine)] + masculine in present:
                found.add(word)
                break
    return found


# British and American spellings of one word.
VARIANTS = [("our", "or"), ("ise", "ize"), ("isation", "ization"), ("yse", "yze"), ("tre", "ter"),
            ("ogue", "og"), ("ence", "ense"), ("lled", "led"), ("lling", "ling")]


def spellings(word):
    """Other spellings of an English word."""
    found = set()
    for british, american in VARIANTS:
        for a, b in ((british, american), (american, british)):
            at = word.find(a)
            while at >= 0:
                found.add(word[:at] + b + word[at + len(a):])
                at = word.find(a, at + 1)
    return found - {word}


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
    """Gender of each noun of a FreeDict dictionary, by the word in lower case
    (the index's own keys), and the set of every headword. German takes the
    first "<n, masc>" tag; the other languages a gender only when every
    article of the word is a noun of that gender ("<n>" alone says nothing)."""
    index = os.path.join("/usr/share/dictd", f"freedict-{pair}.index")
    data = gzip.open(os.path.join("/usr/share/dictd", f"freedict-{pair}.dict.dz")).read()
    alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

    def number(text):
        value = 0
        for c in text:
            value = value * 64 + alphabet.index(c)
        return value

    result = {}
    tags = {}
    with open(index, encoding="utf-8") as text:
        for line in text:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[0].startswith("00-"):
                continue
            head = data[number(parts[1]):number(parts[1]) + min(number(parts[2]), 300)].decode("utf-8", "replace")
            first = head.split("\n", 1)[0]
            tag = re.search(r"<n, (masc|fem|neut)", first)
            note = re.search(r"<([^>]*)>", first)
            tags.setdefault(parts[0].lower(), []).append(
                tag.group(1) if tag else ("noun" if note and note.group(1) == "n" else "other"))
            if tag and pair == "deu-rus" and parts[0] not in result:
                result[parts[0]] = tag.group(1)
    if pair != "deu-rus":
        for word, kinds in tags.items():
            if len(set(kinds)) == 1 and kinds[0] in ("masc", "fem"):
                result[word] = kinds[0]
            elif pair == "ita-rus" and set(kinds) == {"noun"}:
                if word.endswith("o"):
                    result[word] = "masc"
                elif word.endswith("a"):
                    result[word] = "fem"
    return result, set(tags)


def with_article(code, word, gender):
    if word.lower() in NO_ARTICLE:
        return word
    vowel = re.match(r"[aeiouyàâéèêëîïôûùhAEIOUÀÂÉÈÊÎÔÛH]", word) is not None
    if code == "de":
        return {"masc": "der ", "fem": "die ", "neut": "das "}[gender] + word
    if code == "fr":
        return ("l'" if vowel else {"masc": "le ", "fem": "la "}.get(gender, "le ")) + word
    if code == "it":
        if vowel and not word.lower().startswith("h"):
            return "l'" + word
        if gender == "fem" and word.lower() not in ITALIAN_MASCULINE_A:
            return "la " + word
        return ("lo " if re.match(r"(s[^aeiou]|z|gn|ps|x|y)", word) else "il ") + word
    return word


def everyday_senses():
    """The Russian words the default English dictionary translates into: the
    concepts a learner needs first, whatever the language."""
    senses = set()
    for _, translation in read_tsv(os.path.join(ROOT, "data/dictionaries/default.tsv")):
        for sense in translation.split(",")[:2]:
            sense = sense.strip().lower().replace("ё", "е")
            if sense:
                senses.add(sense)
    return senses


def first_senses(translation):
    """The first two senses of a translation, as everyday_senses() keeps them."""
    return {re.sub(r"\s*\(.*?\)", "", sense).strip().lower().replace("ё", "е")
            for sense in translation.split(",")[:2]}


def main():
    if len(sys.argv) < 2:
        fail("usage: make-site-lists.py BUILD_DIR [LANGUAGE_CODE ...]")
    only = sys.argv[2:] or list(LEVELS)
    dictool = os.path.join(sys.argv[1], "dictool")
    if not os.access(dictool, os.X_OK):
        fail(f"{dictool} not found: build the project first")
    models = mt.models_folder()
    mt.COMMON_WORDS = 15000
    for code, lists in LEVELS.items():
        if code not in only:
            continue
        _, _, word_list, model, one_letter = mt.LANGUAGES[code]
        known = {bare(w) for w, _ in read_tsv(os.path.join(ROOT, BASIC[code]))}
        fixes = read_corrections(os.path.join(ROOT, "site/corrections", code + ".tsv"))
        corrections = {word: translation for word, (translation, _) in fixes.items()}
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
        noun_gender, headwords = genders(FREEDICT[code]) if code in FREEDICT else ({}, set())
        # A form teaches less than its word, and gets the word's translation.
        if code == "en":
            forms = inflected(dictool, candidates)
        else:
            # A correction keeps a word Hunspell mistakes for a form; a
            # feminine beside its masculine goes whatever the corrections say.
            forms = forms_of_others(dictool, code, candidates, headwords) - set(corrections)
            forms |= feminine_forms(code, candidates + list(known))
        candidates = [w for w in candidates if w not in forms]
        if code == "en":
            seen = set(known)
            spelled_once = []
            for w in candidates:
                if not (spellings(w.lower()) & seen):
                    spelled_once.append(w)
                seen.add(w.lower())
            candidates = spelled_once
        found = translate(dictool, code, candidates) if code != "es" else {}
        chosen = []
        wanted = PER_LIST[code] * len(lists)
        if code != "en":
            everyday = everyday_senses()
            sense_of = {w: corrections.get(w) or plain(found.get(w, "")) or "" for w in candidates}
            candidates = sorted(candidates, key=lambda w: not (first_senses(sense_of[w]) & everyday))
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
            written = fixes.get(word, (None, None))[1]
            if written:
                shown = written
            elif spelled:
                shown = spelled
            elif gender and (word[0].isupper() or code in ("fr", "it")):
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
