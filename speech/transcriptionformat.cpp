#include "speech/transcriptionformat.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint32 NullStringLength = 0xFFFFFFFFu;

// Walks the bytes of a table; the first bad or missing byte turns the whole
// reader into the failed state, which the caller checks once at the end.
class TableReader
{
public:
    explicit TableReader(const QByteArray& data)
        : begin(reinterpret_cast<const uchar*>(data.constData()))
        , size(quint64(data.size()))
    {
    }

    bool failed() const { return bad; }

    quint32 readUInt32()
    {
        if (bad || size - pos < 4) {
            bad = true;
            return 0;
        }
        const quint32 value = qFromBigEndian<quint32>(begin + pos);
        pos += 4;
        return value;
    }

    QString readString()
    {
        const quint32 length = readUInt32();
        if (bad || length == NullStringLength)
            return QString();
        // A QString is stored as whole UTF-16 code units, so an odd length
        // means the data is not a table.
        if (length % 2 != 0 || quint64(length) > size - pos) {
            bad = true;
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

private:
    const uchar* begin;
    quint64 size;
    quint64 pos = 0;
    bool bad = false;
};

} // namespace

namespace TranscriptionFormat {

QMap<QString, QString> readTable(const QByteArray& data)
{
    QMap<QString, QString> table;
    TableReader reader(data);
    const quint32 count = reader.readUInt32();
    // The loop ends at the first failure, so a huge count on short data costs
    // no more than the data itself.
    for (quint32 i = 0; i < count && !reader.failed(); ++i) {
        const QString key = reader.readString();
        const QString value = reader.readString();
        if (!reader.failed())
            table.insert(key, value);
    }
    if (reader.failed())
        return {};
    return table;
}

bool writeTable(QIODevice* device, const QMap<QString, QString>& table)
{
    QDataStream out(device);
    out.setVersion(QDataStream::Qt_4_6);
    out << quint32(table.size());
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        out << it.key() << it.value();
    return out.status() == QDataStream::Ok;
}

} // namespace TranscriptionFormat
