#include "model/dictionaryformat.h"

#include <QBuffer>
#include <QDataStream>
#include <QIODevice>
#include <QObject>

#include "model/boundedfile.h"
#include "model/datastreamreader.h"
#include "model/statuses.h"

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

QByteArray encodeUnits(const QList<Unit>& units)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(qMin<qint64>(encodedSize(units), 1024 * 1024 * 1024)));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeUnits(&buffer, units);
    return bytes;
}

qint64 encodedSize(const QList<Unit>& units)
{
    // A count, then per string a length and its UTF-16 code units; a null
    // string is its length marker alone, as long as an empty one.
    qint64 size = 4;
    for (const Unit& unit : units)
        size += 8 + 2 * (qint64(unit.word.size()) + qint64(unit.translation.size()));
    return size;
}

QString sizeProblem(const QList<Unit>& units)
{
    const qint64 size = encodedSize(units);
    if (size <= BoundedFile::DefaultLimit)
        return QString();
    return QObject::tr("словарь занял бы %1 МБ, а открываются словари не больше %2 МБ")
        .arg((size + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(BoundedFile::DefaultLimit / (1024 * 1024));
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

QString readWholeIntList(const QByteArray& data, QList<int>* values)
{
    values->clear();
    if (data.isEmpty())
        return QString();
    DataStreamReader reader(data);
    const quint32 count = reader.readUInt32();
    if (reader.failed())
        return QObject::tr("файл короче заголовка (%n байт)", nullptr, int(data.size()));
    if (reader.remaining() / 4 != count || reader.remaining() % 4 != 0)
        return QObject::tr("в заголовке указано значений: %1, а в файле места для %2")
            .arg(count)
            .arg(reader.remaining() / 4);
    values->reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i)
        values->append(int(qint32(reader.readUInt32())));
    // The marker starts the current format; an earlier file holds any values.
    if (!values->isEmpty() && values->first() == Statuses::StatusFileMarker) {
        for (qsizetype i = 1; i < values->size(); ++i) {
            if (values->at(i) < 0 || values->at(i) > 100)
                return QObject::tr("значение %1 у слова %2 не бывает статусом").arg(values->at(i)).arg(i);
        }
    }
    return QString();
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

QByteArray encodeIntList(const QList<int>& values)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeIntList(&buffer, values);
    return bytes;
}

} // namespace DictionaryFormat
