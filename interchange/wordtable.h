#pragma once

#include <QList>
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
    /*! One name per column: a header cell, a KVTML identifier, or empty. */
    QStringList columns;
    /*! The rows in file order; a row may be shorter than the column list. */
    QList<QStringList> rows;

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

private:
    static QString cleaned(QString field)
    {
        return field.replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
    }
};
