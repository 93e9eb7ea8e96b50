#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    KVTML, the XML vocabulary format of the KDE trainers (KWordQuiz,
    Parley). The reader takes every translation of every entry of a KVTML
    2.0 document, one column per identifier (language) in the order of their
    ids, or of a KVTML 1.0 document, the original and then each translation;
    it ignores lessons, grades and the rest. A one-language document (a
    KHangMan word list) gives one column. The writer writes a two-language
    KVTML 2.0 document that those trainers open.
*/
namespace KvtmlFormat {

/*! A language of the written document: its display name and locale code. */
struct Language
{
    QString name;
    QString locale;
};

/*! True when the first line of \a data is an XML declaration, a document
    type or the <kvtml> element, and not a line of a word list. */
bool looksLikeXml(const QByteArray& data);

/*! The entries of \a data; false, with \a error naming the line and the
    element (or the column of a byte that breaks UTF-8), when the document
    is not well-formed KVTML. */
bool read(const QByteArray& data, WordTable* table, QString* error);

/*! A complete KVTML 2.0 document holding \a units: words under
    \a wordLanguage, translations under \a translationLanguage. */
QByteArray write(const QList<Unit>& units, const Language& wordLanguage,
                 const Language& translationLanguage, const QString& title);

} // namespace KvtmlFormat
