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
    Empty when the article has no Russian words or only points to another
    headword. At most \a maxLength characters, in whole words. */
QString shortTranslation(const QString& article, int maxLength = 150);

/*! The headword \a article only points to ("went": "_p. от go 1" gives
    "go", "color": "_ам. = colour" gives "colour"); empty for a real article. */
QString reference(const QString& article);

/*! The headword as the article's first line writes it, capitals kept:
    "Haus" for FreeDict's "Haus /haʊ̯s/ <n, neut>". */
QString headword(const QString& article);

/*! The comma-separated items of \a translation, trimmed. */
QStringList items(const QString& translation);

} // namespace ArticleRules
