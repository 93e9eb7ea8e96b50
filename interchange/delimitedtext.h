#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include "interchange/wordtable.h"
#include "model/unit.h"

/*!
    Tab-, comma- and semicolon-separated word lists as spreadsheets write
    them: one row per line, fields in double quotes when they hold the
    separator, a quote or a line break (a quote inside doubled), with or
    without a header line.
*/
namespace DelimitedText {

/*! How quotes are taken. Spreadsheets quote CSV strictly; tab-separated
    lists are often written without quoting at all, so there a quote opens
    a quoted field only when that field closes where a field ends. */
enum class Quoting { Strict, Lenient };

/*! The rows of \a text. Blank lines are skipped. Returns false, with
    \a error naming the line, when a strictly quoted field is never closed.
    Line numbers in messages count from \a firstLine. */
bool parse(const QString& text, QChar separator, QList<QStringList>* rows, QString* error,
           int firstLine = 1, Quoting quoting = Quoting::Strict);

/*! The separator of a comma-separated file: a comma, or the semicolon or
    tab that spreadsheets in many locales put there instead, whichever
    splits the first lines into the same number of fields most often. */
QChar guessSeparator(const QString& text);

/*! True when \a row reads as column labels ("word", "перевод", a language
    name...) and not as a word with its translation: every field is a label,
    and no two of them name the same thing ("word" and "слово" are a pair). */
bool isHeader(const QStringList& row);

/*! Whether read() takes the first line as column names. */
enum class Header { Guess, Yes, No };

/*! parse() into a table: a header line, when there is one, names the
    columns; the "Title:" and "Author:" lines KWordQuiz writes at the top
    are left out. */
bool read(const QString& text, QChar separator, WordTable* table, QString* error,
          Header header = Header::Guess);

/*! The entries as text: word and translation per line, lines ended by
    \a lineEnd. With a tab as separator nothing is quoted (a tab or a line
    break inside a field becomes a space), as the KDE trainers and Anki read
    such lists; with any other separator fields are quoted where needed. */
QString write(const QList<Unit>& units, QChar separator, const QString& lineEnd);

} // namespace DelimitedText
