#include "speech/transcriptions.h"

#include "config/settings.h"
#include "model/boundedfile.h"
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
    // The name comes from the settings; whatever it names, a FIFO or a huge
    // file must not hold up the start. The shipped tables are a few megabytes.
    QByteArray data;
    QString problem;
    if (BoundedFile::read(QStringLiteral("Transcriptions/") + transcriptionFileName + QStringLiteral(".trn"), &data,
                          &problem))
        table = TranscriptionFormat::readTable(data);
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
