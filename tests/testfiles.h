#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

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
