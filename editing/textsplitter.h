#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

/*
    Cuts a typed or pasted text into the words to import. Pure functions on
    strings: no widget, no dictionary, no global state, defined for any input.
*/
namespace TextSplitter {

/* The longest word taken from a text; anything longer is not a word. */
constexpr int maxWordLength = 150;

/* True for the characters that never belong to a word: everything but
    letters, combining marks, apostrophes and hyphens. Digits, dashes,
    quotes of every kind and all other punctuation and symbols separate
    words; an apostrophe or a hyphen does too unless it stands between two
    letters ("o'clock", "well-known"). */
bool isSeparator(QChar c);

/* The form of a split-off token that goes into the dictionary: a
    possessive loses its "'s" ("brother's" → "brother"); a contraction
    ("it's", "hasn't", "we'll") and a token longer than maxWordLength give an
    empty string, for no word at all. */
QString cleanWord(const QString& token);

/* The words of \a text in text order, cleaned, without web and e-mail
    addresses, single letters other than "a" and "I", empty strings and
    with every repetition dropped, letter case ignored: the first occurrence
    keeps its place, in lower case when the text also has it so ("The ...
    the" gives "the"; "Paris" stays "Paris"). */
QStringList split(const QString& text);

/* True when most letters of \a text are Cyrillic: a text in the learner's
    own language rather than in the one being learned. */
bool isMostlyCyrillic(const QString& text);

/* The words of \a text, as split() gives them, that begin a sentence
    somewhere: at the start of the text or of a line, or after ".", "!",
    "?" or "…" (quotes and brackets between do not count). */
QSet<QString> sentenceStarts(const QString& text);

} // namespace TextSplitter
