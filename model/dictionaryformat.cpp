#include "model/dictionaryformat.h"

#include <QDataStream>
#include <QIODevice>
#include <QObject>

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

QString readWholeUnits(const QByteArray& data, QList<Unit>* units)
{
    units->clear();
    if (data.isEmpty())
        return QString();
    DataStreamReader reader(data);
    const quint32 count = reader.readUInt32();
    if (reader.failed())
        return QObject::tr("файл короче заголовка словаря (%n байт)", nullptr, int(data.size()));
    units->reserve(qsizetype(qMin<quint64>(count, reader.remaining() / 8)));
    quint32 read = 0;
    while (read < count && !reader.atEnd()) {
        Unit unit;
        unit.word = reader.readString();
        unit.translation = reader.readString();
        // A record cut short is kept with its unreadable strings empty.
        units->append(unit);
        if (reader.failed())
            return QObject::tr("запись %1 из %2 обрывается на середине").arg(read + 1).arg(count);
        ++read;
    }
    if (read < count)
        return QObject::tr("в заголовке указано слов: %1, а в файле записей: %2").arg(count).arg(read);
    if (!reader.atEnd())
        return QObject::tr("после последней записи остались лишние данные (%n байт)", nullptr,
                           int(reader.remaining()));
    return QString();
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
