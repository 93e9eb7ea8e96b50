#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    Tab- and comma-separated word lists as spreadsheets write them: one row
    per line, fields in double quotes when they hold the separator, a quote
    or a line break (a quote inside doubled), with or without a header line.
*/
namespace DelimitedText {

/*! The rows of \a text. Blank lines are skipped. Returns false, with
    \a error naming the line, when a quoted field is never closed. Line
    numbers in messages count from \a firstLine. */
bool parse(const QString& text, QChar separator, QList<QStringList>* rows, QString* error,
           int firstLine = 1);

/*! The separator of a comma-separated file: a comma, or the semicolon or
    tab that spreadsheets in many locales put there instead, whichever the
    first line holds most of outside quotes. */
QChar guessSeparator(const QString& text);

/*! True when every field of \a row is a column label ("word", "перевод", a
    language name...) rather than a word. */
bool isHeader(const QStringList& row);

/*! parse() into a table; a header line, when there is one, names the columns. */
bool read(const QString& text, QChar separator, WordTable* table, QString* error);

/*! The entries as text: word and translation per line, quoted where needed,
    lines ended by \a lineEnd. */
QString write(const QList<Unit>& units, QChar separator, const QString& lineEnd);

} // namespace DelimitedText
