#include "translation/dictzipfile.h"

#include <zlib.h>

namespace {

// No article and no dictionary text is anywhere near these sizes; a range
// or a file claiming more is damaged, and reading it would only eat memory.
constexpr qint64 maxArticleLength = 4 * 1024 * 1024;
constexpr qint64 maxTextLength = 512 * 1024 * 1024;
// Inflated chunks kept per file, in kilobytes of text.
constexpr int cacheKilobytes = 32 * 1024;

enum GzipFlag : uchar { HeaderCrc = 2, Extra = 4, Name = 8, Comment = 16 };

quint16 littleEndian16(const uchar* p)
{
    return quint16(p[0] | (p[1] << 8));
}

// Inflates \a input (a raw deflate stream when \a windowBits is negative,
// gzip when it is 15 + 16) into at most \a limit bytes. A stream that
// breaks off gives what came before the break, which the caller checks
// against the size it expects.
QByteArray inflate(const QByteArray& input, int windowBits, qint64 limit)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK)
        return QByteArray();
    QByteArray output;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    char buffer[64 * 1024];
    int result = Z_OK;
    while (result == Z_OK && output.size() < limit) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        result = ::inflate(&stream, Z_SYNC_FLUSH);
        const qint64 produced = qint64(sizeof buffer) - stream.avail_out;
        output.append(buffer, qsizetype(qMin(produced, limit - output.size())));
        if (result == Z_BUF_ERROR || (produced == 0 && stream.avail_in == 0))
            break;
    }
    inflateEnd(&stream);
    return output;
}

} // namespace

DictzipFile::DictzipFile(const QString& fileName)
    : file(fileName)
    , chunks(cacheKilobytes)
{
    if (file.open(QIODevice::ReadOnly) && !readHeader())
        kind = Kind::Broken;
}

bool DictzipFile::readHeader()
{
    const QByteArray start = file.peek(10);
    if (start.size() < 10 || uchar(start[0]) != 0x1f || uchar(start[1]) != 0x8b) {
        kind = Kind::Plain;
        return true;
    }
    // A gzip header is small; 64 KB holds the largest extra field there is,
    // and the names after it.
    const QByteArray header = file.peek(10 + 2 + 65535 + 4096);
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const qint64 size = header.size();
    if (bytes[2] != 8)
        return false;
    const uchar flags = bytes[3];
    qint64 pos = 10;
    QList<quint16> compressedSizes;
    if (flags & Extra) {
        if (pos + 2 > size)
            return false;
        const qint64 extraEnd = pos + 2 + littleEndian16(bytes + pos);
        pos += 2;
        if (extraEnd > size)
            return false;
        while (pos + 4 <= extraEnd) {
            const quint16 length = littleEndian16(bytes + pos + 2);
            const qint64 fieldEnd = pos + 4 + length;
            if (fieldEnd > extraEnd)
                return false;
            if (bytes[pos] == 'R' && bytes[pos + 1] == 'A' && length >= 6) {
                const quint16 version = littleEndian16(bytes + pos + 4);
                const quint16 count = littleEndian16(bytes + pos + 8);
                chunkLength = littleEndian16(bytes + pos + 6);
                if (version != 1 || chunkLength == 0 || 6 + 2 * qint64(count) > length)
                    return false;
                for (int i = 0; i < count; ++i)
                    compressedSizes.append(littleEndian16(bytes + pos + 10 + 2 * i));
            }
            pos = fieldEnd;
        }
        pos = extraEnd;
    }
    for (const GzipFlag text : {Name, Comment}) {
        if (!(flags & text))
            continue;
        while (pos < size && bytes[pos] != 0)
            ++pos;
        if (pos >= size)
            return false;
        ++pos;
    }
    if (flags & HeaderCrc)
        pos += 2;
    if (pos > size)
        return false;

    if (compressedSizes.isEmpty()) {
        kind = Kind::Gzip;
        return true;
    }
    qint64 chunkStart = pos;
    for (const quint16 compressed : std::as_const(compressedSizes)) {
        chunkStarts.append(chunkStart);
        chunkStart += compressed;
    }
    chunkStarts.append(chunkStart);
    if (chunkStart > file.size())
        return false;
    kind = Kind::Dictzip;
    return true;
}

const QByteArray* DictzipFile::chunk(int index)
{
    if (QByteArray* cached = chunks.object(index))
        return cached;
    if (!file.seek(chunkStarts.at(index)))
        return nullptr;
    const QByteArray compressed = file.read(chunkStarts.at(index + 1) - chunkStarts.at(index));
    auto* text = new QByteArray(inflate(compressed, -MAX_WBITS, chunkLength));
    const int cost = int(qMax<qint64>(1, text->size() / 1024));
    if (!chunks.insert(index, text, cost))
        return nullptr;
    return chunks.object(index);
}

QByteArray DictzipFile::read(qint64 offset, qint64 length)
{
    if (offset < 0 || length <= 0 || length > maxArticleLength)
        return QByteArray();
    switch (kind) {
    case Kind::Broken:
        return QByteArray();
    case Kind::Plain: {
        if (offset + length > file.size() || !file.seek(offset))
            return QByteArray();
        const QByteArray text = file.read(length);
        return text.size() == length ? text : QByteArray();
    }
    case Kind::Gzip: {
        const QByteArray& text = readAll();
        return offset + length <= text.size() ? text.mid(offset, length) : QByteArray();
    }
    case Kind::Dictzip:
        break;
    }
    const qint64 first = offset / chunkLength;
    const qint64 last = (offset + length - 1) / chunkLength;
    if (last >= chunkStarts.size() - 1)
        return QByteArray();
    QByteArray text;
    for (qint64 i = first; i <= last; ++i) {
        const QByteArray* piece = chunk(int(i));
        // Every chunk but the last is full; a short one is damaged.
        if (!piece || (i < last && piece->size() != chunkLength))
            return QByteArray();
        text += *piece;
    }
    const qint64 start = offset - first * chunkLength;
    if (start + length > text.size())
        return QByteArray();
    return text.mid(start, length);
}

QByteArray DictzipFile::readAll()
{
    switch (kind) {
    case Kind::Broken:
        return QByteArray();
    case Kind::Plain:
        if (file.size() > maxTextLength || !file.seek(0))
            return QByteArray();
        return file.readAll();
    case Kind::Gzip:
        if (!wholeRead) {
            wholeRead = true;
            if (file.size() <= maxTextLength && file.seek(0))
                whole = inflate(file.readAll(), MAX_WBITS + 16, maxTextLength);
        }
        return whole;
    case Kind::Dictzip:
        break;
    }
    // Straight through, without filling the cache of single articles.
    QByteArray text;
    for (int i = 0; i + 1 < chunkStarts.size(); ++i) {
        if (!file.seek(chunkStarts.at(i)))
            return QByteArray();
        const QByteArray piece = inflate(file.read(chunkStarts.at(i + 1) - chunkStarts.at(i)),
                                         -MAX_WBITS, chunkLength);
        if (piece.size() != chunkLength && i + 2 < chunkStarts.size())
            return QByteArray();
        text += piece;
        if (text.size() > maxTextLength)
            return QByteArray();
    }
    return text;
}
