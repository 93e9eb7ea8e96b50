#pragma once

#include <QByteArray>
#include <QList>

#include "model/unit.h"

class QIODevice;

/*!
    Readers and writers of the two binary files that belong to a dictionary:
    the word list (".dic": a quint32 count followed by word/translation pairs
    of QStrings, Qt 4.6 data-stream format, big-endian) and the statuses file
    (".inf": a QList<int> in the same stream format).

    The readers work on the file's bytes and never trust a count or a length
    beyond what the bytes can hold, so a damaged file costs no more memory than
    its own size.
*/
namespace DictionaryFormat {

/*! Entries of a ".dic" file, in file order; a short file gives the records read so far. */
QList<Unit> readUnits(const QByteArray& data);

/*!
    Reads \a data as one whole ".dic" file. Returns an empty string and fills
    \a units when the count agrees with the records and the records fill the
    data exactly; otherwise a short Russian description of what is wrong and
    \a units holds what could be read. Zero bytes count as an empty dictionary,
    the form a newly created file has.
*/
QString readWholeUnits(const QByteArray& data, QList<Unit>* units);

/*! Writes a complete ".dic" stream to \a device. Returns false on a write error. */
bool writeUnits(QIODevice* device, const QList<Unit>& units);

/*! The bytes writeUnits() writes. */
QByteArray encodeUnits(const QList<Unit>& units);

/*! The size in bytes of the ".dic" file of \a units, without building it. */
qint64 encodedSize(const QList<Unit>& units);

/*! Why a ".dic" file of \a units could not be opened again (it would be
    larger than any file the program reads), or an empty string. */
QString sizeProblem(const QList<Unit>& units);

/*! The int list of a statuses file; stops at the end of the data. */
QList<int> readIntList(const QByteArray& data);

/*!
    Reads \a data as one whole statuses file: the count agrees with the
    values, the values fill the data exactly and, after the marker 999, each
    is a status (0..100). Returns an empty string and fills \a values, or a
    short Russian description of the damage. Zero bytes are an empty list.
*/
QString readWholeIntList(const QByteArray& data, QList<int>* values);

/*! Writes a QList<int> stream (count, then each value as qint32). */
bool writeIntList(QIODevice* device, const QList<int>& values);

/*! The bytes writeIntList() writes. */
QByteArray encodeIntList(const QList<int>& values);

} // namespace DictionaryFormat
