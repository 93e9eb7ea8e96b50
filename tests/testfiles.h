#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include <sys/stat.h>

#include "model/boundedfile.h"
#include "model/dictionaryformat.h"

/*! Bytes written as hexadecimal digits, blanks allowed for readability. */
inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

/*! A dictionary of \a words, each translated as "перевод <word>". */
inline void writeWords(const QString& path, const QStringList& words)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QList<Unit> units;
    for (const QString& word : words)
        units.append({word, QStringLiteral("перевод ") + word});
    QVERIFY(DictionaryFormat::writeUnits(&file, units));
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/*! Writes a ten-word dictionary "one".."ten", each translated as "число <word>". */
inline void writeNumbersDictionary(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QList<Unit> units;
    for (const char* word : {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"})
        units.append({QString::fromLatin1(word), QStringLiteral("число ") + QString::fromLatin1(word)});
    QVERIFY(DictionaryFormat::writeUnits(&file, units));
}

/*!
    Puts at \a path something a learner may choose by mistake that is no
    file to read: "folder", "fifo" (nobody ever writes to it), "device" (a
    link to the endless /dev/zero) or "oversized" (a sparse file one byte
    over the read limit, costing no disk).
*/
inline bool makeUnreadable(const QString& path, const QString& kind)
{
    QFile::remove(path);
    QDir(path).removeRecursively();
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("device"))
        return QFile::link(QStringLiteral("/dev/zero"), path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(BoundedFile::DefaultLimit + 1);
}

/*! The kinds makeUnreadable() knows, as rows of a data-driven test, with
    a word the reason given must contain. */
inline void addUnreadableRows()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fifo") << "fifo" << "не обычный файл";
    QTest::newRow("character device") << "device" << "не обычный файл";
    QTest::newRow("folder") << "folder" << "папка";
    QTest::newRow("over 64 MB") << "oversized" << "64 МБ";
}
