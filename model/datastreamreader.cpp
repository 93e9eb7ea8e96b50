#include "model/datastreamreader.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr quint32 NullStringLength = 0xFFFFFFFFu;

} // namespace

DataStreamReader::DataStreamReader(const QByteArray& data)
    : begin(reinterpret_cast<const uchar*>(data.constData()))
    , size(quint64(data.size()))
{
}

void DataStreamReader::fail()
{
    bad = true;
    pos = size;
}

quint32 DataStreamReader::readUInt32()
{
    if (remaining() < 4) {
        fail();
        return 0;
    }
    const quint32 value = qFromBigEndian<quint32>(begin + pos);
    pos += 4;
    return value;
}

quint64 DataStreamReader::readUInt64()
{
    if (remaining() < 8) {
        fail();
        return 0;
    }
    const quint64 value = qFromBigEndian<quint64>(begin + pos);
    pos += 8;
    return value;
}

double DataStreamReader::readDouble()
{
    const quint64 bits = readUInt64();
    double value;
    static_assert(sizeof value == sizeof bits, "doubles are 64 bits");
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString DataStreamReader::readString()
{
    const quint32 length = readUInt32();
    if (bad || length == NullStringLength)
        return QString();
    // A QString is stored as whole UTF-16 code units.
    if (length % 2 != 0 || quint64(length) > remaining()) {
        fail();
        return QString();
    }
    if (length == 0)
        return QStringLiteral("");
    const qsizetype units = qsizetype(length / 2);
    QString result(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    const uchar* in = begin + pos;
    for (qsizetype i = 0; i < units; ++i)
        out[i] = qFromBigEndian<quint16>(in + 2 * i);
    pos += length;
    return result;
}
