#include "speech/transcriptionformat.h"

#include <QDataStream>
#include <QIODevice>

#include "model/datastreamreader.h"

namespace TranscriptionFormat {

QMap<QString, QString> readTable(const QByteArray& data)
{
    QMap<QString, QString> table;
    DataStreamReader reader(data);
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
