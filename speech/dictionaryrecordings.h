#pragma once

#include <QString>
#include <QStringList>

/*
    Recordings that came with a dictionary (from an Anki package) lie in a
    folder beside it, "name.sounds" for "name.dic", one file per word named
    word + "." + the audio format's suffix. They belong to that dictionary's
    words whatever the learning language.
*/
namespace DictionaryRecordings {

/*! The folder for the dictionary at \a dictionaryPath, with or without ".dic". */
inline QString folder(const QString& dictionaryPath)
{
    QString base = dictionaryPath;
    if (base.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".sounds");
}

/*! The suffixes a recording may have, in the order they are looked for. */
inline const QStringList& suffixes()
{
    static const QStringList audio{QStringLiteral("mp3"), QStringLiteral("wav"), QStringLiteral("ogg"),
                                   QStringLiteral("oga"), QStringLiteral("opus"), QStringLiteral("m4a"),
                                   QStringLiteral("flac"), QStringLiteral("aac"), QStringLiteral("spx"),
                                   QStringLiteral("webm")};
    return audio;
}

} // namespace DictionaryRecordings
