#include "speech/transcriptions.h"

#include <QFile>
#include <QFileInfo>

#include "config/settings.h"
#include "model/units.h"
#include "speech/transcriptionformat.h"

Transcriptions* Transcriptions::instance()
{
    static Transcriptions transcriptions;
    return &transcriptions;
}

Transcriptions::Transcriptions()
    : units(Units::instance(0))
{
    // Created after the settings are read, so the first user already finds
    // the table of the learning language.
    load();
}

void Transcriptions::load()
{
    table.clear();
    QFile file(QStringLiteral("Transcriptions/") + transcriptionFileName + QStringLiteral(".trn"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The tables of all shipped languages are a few megabytes; a file far
    // beyond that is not a transcription table.
    constexpr qint64 MaximumTableSize = 256 * 1024 * 1024;
    if (file.size() > MaximumTableSize || !file.isSequential() && file.size() == 0 && !QFileInfo(file).isFile())
        return;
    table = TranscriptionFormat::readTable(file.read(MaximumTableSize));
}

QString Transcriptions::lookup(const QString& word) const
{
    const QString value = table.value(word.trimmed().toLower());
    if (value.isEmpty())
        return QString();
    return QLatin1Char('[') + value + QLatin1Char(']');
}

QString Transcriptions::lookupUnit(int key) const
{
    return lookup(units->word(key));
}

QString Transcriptions::formatted(int key) const
{
    if (!transcriptionEnabled)
        return QString();
    const QString text = lookupUnit(key);
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<b><font color = green> ") + text.toHtmlEscaped()
        + QStringLiteral("</font></b>");
}
