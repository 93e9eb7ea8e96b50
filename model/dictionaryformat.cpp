#include "model/dictionaryformat.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint32 NullStringLength = 0xFFFFFFFFu;

class ByteReader
{
public:
    explicit ByteReader(const QByteArray& data)
        : begin(reinterpret_cast<const uchar*>(data.constData()))
        , size(quint64(data.size()))
    {
    }

    bool atEnd() const { return pos >= size; }
    quint64 remaining() const { return size - pos; }

    bool readUInt32(quint32* value)
    {
        if (remaining() < 4) {
            pos = size;
            return false;
        }
        *value = qFromBigEndian<quint32>(begin + pos);
        pos += 4;
        return true;
    }

    // Reads one QString; a string cut short by the end of the data comes back
    // empty and leaves the reader at the end, as QDataStream does.
    QString readString()
    {
        quint32 length = 0;
        if (!readUInt32(&length))
            return QString();
        if (length == NullStringLength)
            return QString();
        if (length == 0)
            return QStringLiteral("");
        if (quint64(length) > remaining()) {
            pos = size;
            return QString();
        }
        const qsizetype units = qsizetype(length / 2);
        QString result(units, Qt::Uninitialized);
        char16_t* out = reinterpret_cast<char16_t*>(result.data());
        const uchar* in = begin + pos;
        for (qsizetype i = 0; i < units; ++i)
            out[i] = qFromBigEndian<quint16>(in + 2 * i);
        // An odd length cannot come from a real QString; its stray byte is skipped.
        pos += length;
        return result;
    }

private:
    const uchar* begin;
    quint64 size;
    quint64 pos = 0;
};

} // namespace

namespace DictionaryFormat {

QList<Unit> readUnits(const QByteArray& data)
{
    QList<Unit> units;
    ByteReader reader(data);
    quint32 count = 0;
    if (!reader.readUInt32(&count))
        return units;
    // Every record takes at least 8 bytes, which bounds what a hostile count can reserve.
    units.reserve(qsizetype(qMin<quint64>(count, reader.remaining() / 8)));
    // A record cut short is kept with its unreadable strings empty, but a
    // count that promises records the file has no bytes for adds nothing.
    for (quint32 i = 0; i < count && !reader.atEnd(); ++i) {
        Unit unit;
        unit.word = reader.readString();
        unit.translation = reader.readString();
        units.append(unit);
    }
    return units;
}

bool writeUnits(QIODevice* device, const QList<Unit>& units)
{
    QDataStream out(device);
    out.setVersion(QDataStream::Qt_4_6);
    out << quint32(units.size());
    for (const Unit& unit : units)
        out << unit.word << unit.translation;
    return out.status() == QDataStream::Ok;
}

QList<int> readIntList(const QByteArray& data)
{
    QList<int> values;
    ByteReader reader(data);
    quint32 count = 0;
    if (!reader.readUInt32(&count))
        return values;
    values.reserve(qsizetype(qMin<quint64>(count, reader.remaining() / 4)));
    for (quint32 i = 0; i < count; ++i) {
        quint32 value = 0;
        if (!reader.readUInt32(&value))
            break;
        values.append(int(qint32(value)));
    }
    return values;
}

bool writeIntList(QIODevice* device, const QList<int>& values)
{
    QDataStream out(device);
    out.setVersion(QDataStream::Qt_4_6);
    out << quint32(values.size());
    for (int value : values)
        out << qint32(value);
    return out.status() == QDataStream::Ok;
}

} // namespace DictionaryFormat
