#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

/*
    Writes Anki packages the way Anki lays them out, for the tests and the
    benchmark: tables col, notes and cards, fields joined by 0x1f, media
    under numbers with a "media" map. Legacy is "collection.anki2" with the
    note types as JSON in col and a JSON map; Latest is "collection.anki21b"
    compressed with zstd, the field names in the fields table, a protobuf
    map and compressed media, beside a stub "collection.anki2".
*/
namespace AnkiTestPackage {

enum class Layout { Legacy, Latest };

struct Note
{
    qint64 noteType;
    QStringList fields;
};

inline void exec(sqlite3* db, const QString& sql)
{
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

inline QByteArray collection(const QHash<qint64, QStringList>& types, const QList<Note>& notes, Layout layout)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    exec(db, QStringLiteral("CREATE TABLE col (id integer primary key, crt integer, mod integer, scm integer, ver integer,"
                            " dty integer, usn integer, ls integer, conf text, models text, decks text, dconf text, tags text)"));
    exec(db, QStringLiteral("CREATE TABLE notes (id integer primary key, guid text, mid integer, mod integer, usn integer,"
                            " tags text, flds text, sfld integer, csum integer, flags integer, data text)"));
    exec(db, QStringLiteral("CREATE TABLE cards (id integer primary key, nid integer, did integer, ord integer, mod integer,"
                            " usn integer, type integer, queue integer, due integer, ivl integer, factor integer,"
                            " reps integer, lapses integer, left integer, odue integer, odid integer, flags integer, data text)"));
    QJsonObject models;
    if (layout == Layout::Latest) {
        exec(db, QStringLiteral("CREATE TABLE notetypes (id integer primary key, name text, mtime_secs integer,"
                                " usn integer, config blob)"));
        exec(db, QStringLiteral("CREATE TABLE fields (ntid integer, ord integer, name text, config blob,"
                                " primary key (ntid, ord))"));
    }
    sqlite3_stmt* field = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO fields VALUES (?, ?, ?, '')", -1, &field, nullptr);
    for (auto it = types.cbegin(); it != types.cend(); ++it) {
        QJsonArray fields;
        for (int ord = 0; ord < it.value().size(); ++ord) {
            fields.append(QJsonObject{{QStringLiteral("name"), it.value().at(ord)}, {QStringLiteral("ord"), ord}});
            if (field) {
                const QByteArray name = it.value().at(ord).toUtf8();
                sqlite3_bind_int64(field, 1, it.key());
                sqlite3_bind_int(field, 2, ord);
                sqlite3_bind_text(field, 3, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                sqlite3_step(field);
                sqlite3_reset(field);
            }
        }
        models.insert(QString::number(it.key()),
                      QJsonObject{{QStringLiteral("name"), QStringLiteral("Basic")}, {QStringLiteral("flds"), fields}});
    }
    sqlite3_finalize(field);
    const QByteArray json = layout == Layout::Legacy ? QJsonDocument(models).toJson(QJsonDocument::Compact) : "{}";
    sqlite3_stmt* col = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', ?, '{}', '{}', '{}')", -1, &col, nullptr);
    sqlite3_bind_text(col, 1, json.constData(), int(json.size()), SQLITE_TRANSIENT);
    sqlite3_step(col);
    sqlite3_finalize(col);

    exec(db, QStringLiteral("BEGIN"));
    sqlite3_stmt* note = nullptr;
    sqlite3_stmt* card = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO notes VALUES (?, ?, ?, 0, -1, '', ?, '', 0, 0, '')", -1, &note, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO cards VALUES (?, ?, 1, 0, 0, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')", -1,
                       &card, nullptr);
    for (int i = 0; i < notes.size(); ++i) {
        const QByteArray fields = notes.at(i).fields.join(QChar(0x1F)).toUtf8();
        const QByteArray guid = QByteArray::number(i, 36);
        sqlite3_bind_int64(note, 1, 1000 + i);
        sqlite3_bind_text(note, 2, guid.constData(), int(guid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(note, 3, notes.at(i).noteType);
        sqlite3_bind_text(note, 4, fields.constData(), int(fields.size()), SQLITE_TRANSIENT);
        sqlite3_step(note);
        sqlite3_reset(note);
        sqlite3_bind_int64(card, 1, 5000 + i);
        sqlite3_bind_int64(card, 2, 1000 + i);
        sqlite3_bind_int(card, 3, i);
        sqlite3_step(card);
        sqlite3_reset(card);
    }
    sqlite3_finalize(note);
    sqlite3_finalize(card);
    exec(db, QStringLiteral("COMMIT"));

    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    const QByteArray result(reinterpret_cast<const char*>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    sqlite3_close(db);
    return result;
}

inline QByteArray zstd(const QByteArray& data)
{
    QByteArray packed(qsizetype(ZSTD_compressBound(size_t(data.size()))), Qt::Uninitialized);
    packed.resize(qsizetype(ZSTD_compress(packed.data(), size_t(packed.size()), data.constData(), size_t(data.size()), 3)));
    return packed;
}

inline QByteArray varint(quint64 value)
{
    QByteArray bytes;
    do {
        const uchar byte = value & 0x7F;
        value >>= 7;
        bytes += char(value ? byte | 0x80 : byte);
    } while (value);
    return bytes;
}

inline QByteArray lengthDelimited(int number, const QByteArray& data)
{
    return varint(quint64(number) << 3 | 2) + varint(quint64(data.size())) + data;
}

/*! Writes the package to path; media names map to their bytes. */
inline bool write(const QString& path, const QHash<qint64, QStringList>& types, const QList<Note>& notes,
                  const QList<QPair<QString, QByteArray>>& media, Layout layout)
{
    QFile::remove(path);
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return false;
    QList<QByteArray> keep;
    auto add = [&](const QByteArray& name, const QByteArray& data) {
        keep.append(data);
        zip_source_t* source = zip_source_buffer(zip, keep.last().constData(), zip_uint64_t(keep.last().size()), 0);
        zip_file_add(zip, name.constData(), source, ZIP_FL_OVERWRITE);
    };
    const QByteArray db = collection(types, notes, layout);
    QByteArray map;
    if (layout == Layout::Latest) {
        add("collection.anki2", collection({{1, {QStringLiteral("Front"), QStringLiteral("Back")}}},
                                           {{1, {QStringLiteral("Please update to the latest Anki version"), QString()}}},
                                           Layout::Legacy));
        add("collection.anki21b", zstd(db));
        QByteArray entries;
        for (const auto& file : media)
            entries += lengthDelimited(1, lengthDelimited(1, file.first.toUtf8()) + varint(2 << 3) + varint(quint64(file.second.size())));
        map = zstd(entries);
        add("meta", varint(1 << 3) + varint(3));
    } else {
        add("collection.anki2", db);
        QJsonObject names;
        for (int i = 0; i < media.size(); ++i)
            names.insert(QString::number(i), media.at(i).first);
        map = QJsonDocument(names).toJson(QJsonDocument::Compact);
    }
    add("media", map);
    for (int i = 0; i < media.size(); ++i)
        add(QByteArray::number(i), layout == Layout::Latest ? zstd(media.at(i).second) : media.at(i).second);
    return zip_close(zip) == 0;
}

} // namespace AnkiTestPackage
