#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class QIODevice;

/*!
    Reader and writer of transcription tables (".trn"): a QMap<QString, QString>
    in Qt 4.6 data-stream form, big-endian: a quint32 count, then that many
    key/value pairs of QStrings (quint32 byte length, UTF-16BE code units;
    0xFFFFFFFF for a null string).

    The reader works on the bytes alone and trusts no count or length beyond
    what the data holds. A table is all or nothing: data that ends before the
    last entry, or holds a string that cannot be a QString, gives an empty
    table, so a damaged file never shows half of its transcriptions.
*/
namespace TranscriptionFormat {

/*! The table held by \a data; empty when the data is short or damaged.
    Bytes after the last entry are ignored, as QDataStream ignores them.
    For a key that occurs twice the later value wins. */
QMap<QString, QString> readTable(const QByteArray& data);

/*! Writes \a table as a complete ".trn" stream. Returns false on a write error. */
bool writeTable(QIODevice* device, const QMap<QString, QString>& table);

} // namespace TranscriptionFormat
