#pragma once

#include <QByteArray>
#include <QString>

#include "interchange/wordtable.h"

/*!
    Anki's package format (".apkg"): a zip archive holding the collection,
    a SQLite database ("collection.anki2", "collection.anki21", or in newer
    packages "collection.anki21b" compressed with zstd), the media files
    under numbers and a "media" map from numbers to names (JSON, or in newer
    packages zstd-compressed protobuf).

    Every note becomes a row of its fields, HTML reduced to text; the
    columns are named by the fields of the commonest note type. The first
    "[sound:…]" of a note names its recording, whose bytes come along in the
    table. Nothing is written anywhere: the collection is read in memory.
*/
namespace AnkiPackage {

/*! True when \a data is a zip archive that names an Anki collection. */
bool looksLikePackage(const QByteArray& data);

/*! The notes of the package \a data; false, with \a error saying what is
    wrong in Russian, when it is not a zip archive, is damaged, holds no
    collection or no notes. */
bool read(const QByteArray& data, WordTable* table, QString* error);

/*! The audio formats a recording may have (lower-case suffixes). */
bool isAudioSuffix(const QString& suffix);

} // namespace AnkiPackage
