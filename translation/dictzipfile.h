#pragma once

#include <QByteArray>
#include <QCache>
#include <QFile>
#include <QList>
#include <QString>

/*!
    The article file of a dictd dictionary: plain text (".dict"), gzip, or
    dictzip (".dict.dz"), a gzip file whose "RA" extra field lists chunks that
    inflate on their own, so that one article costs one chunk, not the file.

    Offsets and lengths are those of the uncompressed text, as the ".index"
    file gives them. Nothing in the file is trusted: a damaged header, a
    chunk that does not inflate or a range past the end reads as empty.
*/
class DictzipFile
{
public:
    explicit DictzipFile(const QString& fileName);

    /*! False when the file cannot be opened or its gzip header is damaged. */
    bool isValid() const { return kind != Kind::Broken; }

    /*! \a length bytes of the text from \a offset; empty when the range is
        not wholly inside the text. */
    QByteArray read(qint64 offset, qint64 length);

    /*! The whole text; empty for a damaged file. */
    QByteArray readAll();

private:
    enum class Kind { Broken, Plain, Gzip, Dictzip };

    bool readHeader();
    const QByteArray* chunk(int index);

    QFile file;
    Kind kind = Kind::Broken;
    // Dictzip: uncompressed size of a chunk, and where each chunk starts in
    // the file (one more entry than chunks, the last one the end).
    qint64 chunkLength = 0;
    QList<qint64> chunkStarts;
    // Inflated chunks, kept for the next articles: a batch of words visits
    // the same chunks again and again.
    QCache<int, QByteArray> chunks;
    // Plain gzip has no chunks: its text is inflated once, on first read.
    QByteArray whole;
    bool wholeRead = false;
};
