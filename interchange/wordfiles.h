#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "interchange/kvtmlformat.h"
#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    The word-list files the program imports and exports, behind one door for
    the window and for dictool: the format is told by the content (an XML
    document, Anki's header lines) and otherwise by the extension. Reading
    never writes; writing goes through QSaveFile, so a failed export or
    import leaves whatever file was there before untouched.
*/
namespace WordFiles {

enum class Format { Tsv, Csv, Kvtml, Anki };

/*! The format of \a data, a file named \a fileName. */
Format detect(const QString& fileName, const QByteArray& data);

/*! The table of \a data; false, with \a error naming the line or element,
    when it cannot be read or holds no words. */
bool parse(const QString& fileName, const QByteArray& data, WordTable* table, QString* error);

/*! parse() of the file at \a path. */
bool read(const QString& path, WordTable* table, QString* error);

/*! The export format of \a path by its extension (.kvtml, .csv, .tsv or .txt);
    false for any other. */
bool exportFormat(const QString& path, Format* format);

/*! The bytes of \a units written in \a format: KVTML names the two
    languages and takes \a title; CSV starts with a byte-order mark, so that
    spreadsheets read it as UTF-8. */
QByteArray encode(Format format, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
                  const KvtmlFormat::Language& translationLanguage, const QString& title);

/*! Exports \a units to \a path in the format its extension names. */
bool write(const QString& path, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
           const KvtmlFormat::Language& translationLanguage, QString* error);

/*! Writes \a units as a ".dic" dictionary at \a path. */
bool writeDictionary(const QString& path, const QList<Unit>& units, QString* error);

} // namespace WordFiles
