#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "interchange/delimitedtext.h"
#include "interchange/kvtmlformat.h"
#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    The word-list files the program imports and exports, behind one door for
    the window and for dictool: the format is told by the content (a zip
    archive, an XML document, Anki's header lines or HTML) and otherwise by
    the extension. Reading never writes; writing goes through QSaveFile, so
    a failed export or import leaves whatever file was there before
    untouched.
*/
namespace WordFiles {

enum class Format { Tsv, Csv, Kvtml, Anki, AnkiPackage };

/*! The format of \a data, a file named \a fileName. */
Format detect(const QString& fileName, const QByteArray& data);

/*! Choices the reader would otherwise guess for delimited text. */
struct ReadOptions
{
    /*! The field separator; null to guess it from the first lines. */
    QChar separator;
    DelimitedText::Header header = DelimitedText::Header::Guess;
};

/*! The table of \a data; false, with \a error naming the line or element,
    when it cannot be read or holds no words. */
bool parse(const QString& fileName, const QByteArray& data, WordTable* table, QString* error,
           const ReadOptions& options = {});

/*! parse() of the file at \a path. */
bool read(const QString& path, WordTable* table, QString* error, const ReadOptions& options = {});

/*! The export format of \a path by its extension (.kvtml, .csv, .tsv or .txt);
    false for any other. */
bool exportFormat(const QString& path, Format* format);

/*! The bytes of \a units written in \a format: KVTML names the two
    languages and takes \a title; CSV starts with a byte-order mark, so that
    spreadsheets read it as UTF-8, and separates fields with
    \a csvSeparator. */
QByteArray encode(Format format, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
                  const KvtmlFormat::Language& translationLanguage, const QString& title,
                  QChar csvSeparator = QLatin1Char(','));

/*! Exports \a units to \a path in the format its extension names. */
bool write(const QString& path, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
           const KvtmlFormat::Language& translationLanguage, QString* error,
           QChar csvSeparator = QLatin1Char(','));

/*! Writes \a units as a ".dic" dictionary at \a path. */
bool writeDictionary(const QString& path, const QList<Unit>& units, QString* error);

/*! The folder of the recordings that came with the dictionary at
    \a dictionaryPath (a ".dic" path, or the path without the extension). */
QString recordingFolder(const QString& dictionaryPath);

/*! Writes the recordings of \a table (the word of column \a wordColumn
    each) into the recording folder of \a dictionaryPath, replacing what an
    earlier dictionary of that name left there; the number written, or -1
    with \a error set when the folder cannot be made. A word that cannot
    name a file (it holds a slash) keeps no recording. */
int writeRecordings(const QString& dictionaryPath, const WordTable& table, int wordColumn, QString* error);

} // namespace WordFiles
