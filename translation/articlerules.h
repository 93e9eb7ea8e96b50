#pragma once

#include <QString>
#include <QStringList>

/*!
    Rules that turn a dictd article (Mueller's English-Russian dictionary,
    the FreeDict dictionaries) into the short translation a dictionary entry
    wants: the Russian words of the first sense, without the headword line,
    transcriptions, grammar labels, remarks in brackets or examples.
*/
namespace ArticleRules {

/*! The short translation of \a article: "кот, кошка" for Mueller's "cat".
    Mueller's first sense; of FreeDict's first three senses the one with
    the most Russian words.
    Empty when the article has no Russian words or only points to another
    headword. At most \a maxLength characters, in whole words. */
QString shortTranslation(const QString& article, int maxLength = 150);

/*! The headword \a article only points to ("went": "_p. от go 1" gives
    "go", "color": "_ам. = colour" gives "colour"); empty for a real article. */
QString reference(const QString& article);

/*! The headword as the article's first line writes it, capitals kept:
    "Haus" for FreeDict's "Haus /haʊ̯s/ <n, neut>". */
QString headword(const QString& article);

/*! The articles of each homonym of \a article, each with the headword
    line: Mueller numbers the homonyms of one headword "_I", "_II"… inside
    one article ("saw": the past of "see", "пословица", "пила"). An article
    without homonyms is its only one. */
QStringList homonyms(const QString& article);

/*! True for the article of a proper name: FreeDict's "<pn>", or a
    translation that starts with a capital ("Фогель", "Москва"). */
bool isProperName(const QString& article);

/*! The rank of the part of speech FreeDict's "<…>" note gives, lower for the
    sense a learner means first: numerals, then verbs (French "savoir" the
    verb before the noun), nouns, adjectives and the rest; articles without
    a note rank among nouns. */
int partOfSpeechRank(const QString& article);

/*! The words of the first sense of an article into a language written in
    Latin letters (FreeDict's Spanish-English "tiempo": "time, while"). */
QStringList latinTranslation(const QString& article);

/*! The comma-separated items of \a translation, trimmed. */
QStringList items(const QString& translation);

} // namespace ArticleRules
