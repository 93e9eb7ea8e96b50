#include "interchange/ankipackage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <memory>

#include "interchange/ankinotes.h"
#include "speech/dictionaryrecordings.h"

namespace AnkiPackage {

namespace {

// Bounds on what one member may unpack to: a collection of a million notes
// stays far below, a zip or zstd bomb does not.
constexpr qint64 collectionLimit = qint64(1) << 30;
constexpr qint64 mediaLimit = qint64(64) << 20;

QString tr(const char* text)
{
    return QCoreApplication::translate("WordFiles", text);
}

struct ZipCloser
{
    void operator()(zip_t* zip) const { zip_discard(zip); }
};

struct DatabaseCloser
{
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

bool isZstd(const QByteArray& data)
{
    return data.startsWith("\x28\xB5\x2F\xFD");
}

bool unpackZstd(const QByteArray& packed, QByteArray* out, qint64 limit)
{
    std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(), ZSTD_freeDStream);
    if (!stream || ZSTD_isError(ZSTD_initDStream(stream.get())))
        return false;
    const unsigned long long declared = ZSTD_getFrameContentSize(packed.constData(), size_t(packed.size()));
    QByteArray result;
    if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != ZSTD_CONTENTSIZE_ERROR && declared <= quint64(limit))
        result.reserve(qsizetype(declared));
    ZSTD_inBuffer input{packed.constData(), size_t(packed.size()), 0};
    const size_t chunk = ZSTD_DStreamOutSize();
    for (;;) {
        const qsizetype used = result.size();
        result.resize(used + qsizetype(chunk));
        ZSTD_outBuffer output{result.data() + used, chunk, 0};
        const size_t left = ZSTD_decompressStream(stream.get(), &output, &input);
        if (ZSTD_isError(left))
            return false;
        result.resize(used + qsizetype(output.pos));
        if (result.size() > limit)
            return false;
        if (left == 0 && input.pos == input.size)
            break;
        // The input is used up in the middle of a frame: cut short.
        if (input.pos == input.size && output.pos < chunk)
            return false;
    }
    *out = std::move(result);
    return true;
}

bool readMember(zip_t* zip, zip_int64_t index, qint64 limit, QByteArray* out)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)
        || stat.size > zip_uint64_t(limit))
        return false;
    zip_file_t* file = zip_fopen_index(zip, zip_uint64_t(index), 0);
    if (!file)
        return false;
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (read != zip_int64_t(stat.size))
        return false;
    *out = std::move(bytes);
    return true;
}

// A protobuf varint at data[*pos].
bool varint(const QByteArray& data, qsizetype* pos, quint64* value)
{
    *value = 0;
    for (int shift = 0; shift < 64 && *pos < data.size(); shift += 7) {
        const uchar byte = uchar(data.at((*pos)++));
        *value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// The fields of one protobuf message: number → the bytes of each
// length-delimited field, numbers of varint fields in varints.
bool protobufFields(const QByteArray& data, QList<QPair<quint64, QByteArray>>* delimited,
                    QHash<quint64, quint64>* varints)
{
    qsizetype pos = 0;
    while (pos < data.size()) {
        quint64 key = 0;
        if (!varint(data, &pos, &key))
            return false;
        const quint64 number = key >> 3;
        switch (key & 7) {
        case 0: {
            quint64 value = 0;
            if (!varint(data, &pos, &value))
                return false;
            varints->insert(number, value);
            break;
        }
        case 1:
            pos += 8;
            break;
        case 2: {
            quint64 length = 0;
            if (!varint(data, &pos, &length) || length > quint64(data.size() - pos))
                return false;
            delimited->append({number, data.mid(pos, qsizetype(length))});
            pos += qsizetype(length);
            break;
        }
        case 5:
            pos += 4;
            break;
        default:
            return false;
        }
    }
    return pos == data.size();
}

// Media name → zip member name.
bool mediaMap(const QByteArray& bytes, QHash<QString, QString>* map)
{
    if (isZstd(bytes)) {
        // MediaEntries { repeated MediaEntry entries = 1; } with
        // MediaEntry { string name = 1; ...; optional uint32 legacy_zip_filename = 255; },
        // the member of entry i named "i".
        QByteArray plain;
        if (!unpackZstd(bytes, &plain, mediaLimit))
            return false;
        QList<QPair<quint64, QByteArray>> entries;
        QHash<quint64, quint64> ignored;
        if (!protobufFields(plain, &entries, &ignored))
            return false;
        int index = 0;
        for (const auto& entry : std::as_const(entries)) {
            if (entry.first != 1)
                continue;
            QList<QPair<quint64, QByteArray>> fields;
            QHash<quint64, quint64> numbers;
            if (!protobufFields(entry.second, &fields, &numbers))
                return false;
            QString name;
            for (const auto& field : std::as_const(fields)) {
                if (field.first == 1)
                    name = QString::fromUtf8(field.second);
            }
            const QString member = numbers.contains(255) ? QString::number(numbers.value(255)) : QString::number(index);
            if (!name.isEmpty())
                map->insert(name, member);
            ++index;
        }
        return true;
    }
    QJsonParseError problem;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &problem);
    if (problem.error != QJsonParseError::NoError || !document.isObject())
        return bytes.trimmed().isEmpty();
    const QJsonObject object = document.object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        map->insert(it.value().toString(), it.key());
    return true;
}

struct NoteType
{
    QStringList fields;
};

// Field names by note type: the "fields" table of newer collections, else
// the JSON of note types in the "col" row.
QHash<qint64, NoteType> noteTypes(sqlite3* db)
{
    QHash<qint64, NoteType> types;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT ntid, ord, name FROM fields ORDER BY ntid, ord", -1, &statement, nullptr)
        == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
            types[sqlite3_column_int64(statement, 0)].fields.append(QString::fromUtf8(text));
        }
        sqlite3_finalize(statement);
        if (!types.isEmpty())
            return types;
    }
    sqlite3_finalize(statement);
    statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT models FROM col", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW) {
        const QByteArray json(reinterpret_cast<const char*>(sqlite3_column_blob(statement, 0)),
                              sqlite3_column_bytes(statement, 0));
        const QJsonObject models = QJsonDocument::fromJson(json).object();
        for (auto it = models.constBegin(); it != models.constEnd(); ++it) {
            QMap<int, QString> byOrder;
            const auto fields = it.value().toObject().value(QLatin1String("flds")).toArray();
            for (int i = 0; i < fields.size(); ++i) {
                const QJsonObject field = fields.at(i).toObject();
                byOrder.insert(field.value(QLatin1String("ord")).toInt(i), field.value(QLatin1String("name")).toString());
            }
            types[it.key().toLongLong()].fields = byOrder.values();
        }
    }
    sqlite3_finalize(statement);
    return types;
}

} // namespace

bool isAudioSuffix(const QString& suffix)
{
    return DictionaryRecordings::suffixes().contains(suffix);
}

bool looksLikePackage(const QByteArray& data)
{
    return data.startsWith("PK\x03\x04") && data.contains("collection.anki2");
}

bool read(const QByteArray& data, WordTable* table, QString* error)
{
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &zipError);
    std::unique_ptr<zip_t, ZipCloser> zip(source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zipError)
                                                 : nullptr);
    if (!zip) {
        if (source)
            zip_source_free(source);
        const int code = zip_error_code_zip(&zipError);
        zip_error_fini(&zipError);
        // A zip cut short has lost its directory, which libzip reports as no zip at all.
        *error = code == ZIP_ER_NOZIP && !data.startsWith("PK\x03\x04") ? tr("Это не пакет Anki: файл не является zip-архивом.")
                                      : tr("Пакет Anki повреждён: архив не читается.");
        return false;
    }
    zip_error_fini(&zipError);

    // A newer package keeps a stub "collection.anki2" for old versions
    // beside the real collection.
    QByteArray collection;
    bool found = false;
    for (const char* name : {"collection.anki21b", "collection.anki21", "collection.anki2"}) {
        const zip_int64_t index = zip_name_locate(zip.get(), name, 0);
        if (index < 0)
            continue;
        found = true;
        if (!readMember(zip.get(), index, collectionLimit, &collection)
            || (isZstd(collection) && !unpackZstd(QByteArray(collection), &collection, collectionLimit))) {
            *error = tr("Пакет Anki повреждён: коллекция %1 не распаковывается.").arg(QLatin1String(name));
            return false;
        }
        break;
    }
    if (!found) {
        *error = tr("Это не пакет Anki: в архиве нет коллекции (collection.anki2).");
        return false;
    }

    sqlite3* opened = nullptr;
    sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
    std::unique_ptr<sqlite3, DatabaseCloser> db(opened);
    if (!db || sqlite3_deserialize(db.get(), "main", reinterpret_cast<unsigned char*>(collection.data()),
                                   collection.size(), collection.size(), SQLITE_DESERIALIZE_READONLY)
                   != SQLITE_OK) {
        *error = tr("Пакет Anki повреждён: коллекция не открывается.");
        return false;
    }

    const QHash<qint64, NoteType> types = noteTypes(db.get());
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT mid, flds FROM notes ORDER BY id", -1, &statement, nullptr) != SQLITE_OK) {
        *error = tr("Пакет Anki повреждён: %1.").arg(QString::fromUtf8(sqlite3_errmsg(db.get())));
        sqlite3_finalize(statement);
        return false;
    }
    QHash<qint64, int> typeCounts;
    int step = SQLITE_ROW;
    const QChar fieldSeparator(0x1F);
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        ++typeCounts[sqlite3_column_int64(statement, 0)];
        const QString note = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
                                               sqlite3_column_bytes(statement, 1));
        const QStringList fields = note.split(fieldSeparator);
        QStringList row;
        row.reserve(fields.size());
        QString sound;
        for (const QString& field : fields) {
            if (sound.isEmpty() && field.contains(QLatin1String("[sound:"))) {
                const QString name = AnkiNotes::soundName(field);
                if (isAudioSuffix(QFileInfo(name).suffix().toLower()))
                    sound = name;
            }
            row.append(AnkiNotes::htmlToText(field));
        }
        table->rows.append(row);
        table->sounds.append(sound);
    }
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE) {
        *error = tr("Пакет Anki повреждён: %1.").arg(QString::fromUtf8(sqlite3_errmsg(db.get())));
        return false;
    }
    if (table->rows.isEmpty()) {
        *error = tr("В пакете Anki нет ни одной записи.");
        return false;
    }

    qint64 commonest = 0;
    int most = 0;
    for (auto it = typeCounts.cbegin(); it != typeCounts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            commonest = it.key();
        }
    }
    qsizetype width = 0;
    for (const QStringList& row : std::as_const(table->rows))
        width = qMax(width, row.size());
    table->columns = types.value(commonest).fields;
    while (table->columns.size() < width)
        table->columns.append(QString());

    // Recordings: a package exported without media simply has none.
    const zip_int64_t mapIndex = zip_name_locate(zip.get(), "media", 0);
    QByteArray mapBytes;
    QHash<QString, QString> members;
    if (mapIndex >= 0 && (!readMember(zip.get(), mapIndex, mediaLimit, &mapBytes) || !mediaMap(mapBytes, &members))) {
        *error = tr("Пакет Anki повреждён: список файлов (media) не читается.");
        return false;
    }
    for (qsizetype i = 0; i < table->sounds.size(); ++i) {
        const QString& name = table->sounds.at(i);
        if (name.isEmpty() || table->recordings.contains(name))
            continue;
        const zip_int64_t index = zip_name_locate(zip.get(), members.value(name).toUtf8().constData(), 0);
        QByteArray bytes;
        if (members.contains(name) && index >= 0) {
            if (!readMember(zip.get(), index, mediaLimit, &bytes)
                || (isZstd(bytes) && !unpackZstd(QByteArray(bytes), &bytes, mediaLimit))) {
                *error = tr("Пакет Anki повреждён: файл %1 не распаковывается.").arg(name);
                return false;
            }
            table->recordings.insert(name, bytes);
        } else {
            table->sounds[i].clear();
        }
    }
    return true;
}

} // namespace AnkiPackage
