#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    KVTML 2.0, the XML vocabulary format of the KDE trainers (KWordQuiz,
    Parley). The reader takes every translation of every entry, one column
    per identifier (language) in the order of their ids, and ignores lessons,
    grades and the rest; the writer writes a two-language document that those
    trainers open.
*/
namespace KvtmlFormat {

/*! A language of the written document: its display name and locale code. */
struct Language
{
    QString name;
    QString locale;
};

/*! True when \a data begins like an XML document. */
bool looksLikeXml(const QByteArray& data);

/*! The entries of \a data; false, with \a error naming the line and the
    element, when the document is not well-formed KVTML 2.0. */
bool read(const QByteArray& data, WordTable* table, QString* error);

/*! A complete KVTML 2.0 document holding \a units: words under
    \a wordLanguage, translations under \a translationLanguage. */
QByteArray write(const QList<Unit>& units, const Language& wordLanguage,
                 const Language& translationLanguage, const QString& title);

} // namespace KvtmlFormat
