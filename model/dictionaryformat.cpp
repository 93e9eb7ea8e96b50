#include "model/dictionaryformat.h"

#include <QDataStream>
#include <QIODevice>

#include "model/datastreamreader.h"

namespace DictionaryFormat {

QList<Unit> readUnits(const QByteArray& data)
{
    QList<Unit> units;
    DataStreamReader reader(data);
    const quint32 count = reader.readUInt32();
    // Every record takes at least 8 bytes, which bounds what a hostile count can reserve.
    units.reserve(qsizetype(qMin<quint64>(count, reader.remaining() / 8)));
    // A record cut short is kept with its unreadable strings empty, but a
    // count that promises records the file has no bytes for adds nothing.
    for (quint32 i = 0; i < count && !reader.atEnd(); ++i) {
        Unit unit;
        unit.word = reader.readString();
        unit.translation = reader.readString();
        units.append(unit);
        if (reader.failed())
            break;
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
    DataStreamReader reader(data);
    const quint32 count = reader.readUInt32();
    values.reserve(qsizetype(qMin<quint64>(count, reader.remaining() / 4)));
    for (quint32 i = 0; i < count; ++i) {
        const quint32 value = reader.readUInt32();
        if (reader.failed())
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
