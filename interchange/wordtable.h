#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "model/unit.h"

/*!
    What an imported file holds before it becomes a dictionary: rows of
    fields under named columns. Spreadsheets and KVTML files can carry more
    than two languages, so the importer keeps them all and the caller picks
    the column of the word and the column of the translation.
*/
struct WordTable
{
    /*! One name per column: a header cell, a KVTML identifier, a field of
        an Anki note type, or empty. */
    QStringList columns;
    /*! The rows in file order; a row may be shorter than the column list. */
    QList<QStringList> rows;

    /*! The field separator a delimited text was read with; null for other
        formats. */
    QChar separator;
    /*! True for a delimited text that does not say whether its first line
        names the columns: the caller may read it again either way. */
    bool headerUncertain = false;
    /*! Whether the first line was taken as column names. */
    bool headerTaken = false;

    /*! Per row, the media name of the row's recording (an Anki package's
        "[sound:…]"), or empty; empty altogether for formats without sound. */
    QStringList sounds;
    /*! The bytes of every recording named in sounds. */
    QHash<QString, QByteArray> recordings;

    /*! The entries made of column \a wordColumn and column \a translationColumn,
        both trimmed, line breaks as "\n"; rows without a word are left out. */
    QList<Unit> units(int wordColumn = 0, int translationColumn = 1) const
    {
        QList<Unit> result;
        result.reserve(rows.size());
        for (const QStringList& row : rows) {
            const QString word = cleaned(row.value(wordColumn));
            if (word.isEmpty())
                continue;
            result.append(Unit{word, cleaned(row.value(translationColumn))});
        }
        return result;
    }

    /*! The word of column \a wordColumn and its recording's media name, for
        every row that has both. */
    QList<QPair<QString, QString>> wordRecordings(int wordColumn = 0) const
    {
        QList<QPair<QString, QString>> result;
        for (qsizetype i = 0; i < rows.size() && i < sounds.size(); ++i) {
            const QString word = cleaned(rows.at(i).value(wordColumn));
            if (!word.isEmpty() && !sounds.at(i).isEmpty())
                result.append({word, sounds.at(i)});
        }
        return result;
    }

private:
    static QString cleaned(QString field)
    {
        return field.replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
    }
};
