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
        both trimmed; rows without a word are left out. */
    QList<Unit> units(int wordColumn = 0, int translationColumn = 1) const
    {
        QList<Unit> result;
        result.reserve(rows.size());
        for (const QStringList& row : rows) {
            const QString word = row.value(wordColumn).trimmed();
            if (word.isEmpty())
                continue;
            result.append(Unit{word, row.value(translationColumn).trimmed()});
        }
        return result;
    }
};
