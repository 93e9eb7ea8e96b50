#include "speech/transcriptions.h"

#include "config/settings.h"
#include "model/boundedfile.h"
#include "model/units.h"
#include "speech/heteronyms.h"
#include "speech/transcriptionformat.h"

Transcriptions::Transcriptions(const Units* units, const Settings* settings)
    : units(units)
    , settings(settings)
{
    // Created after the settings are read, so the first user already finds
    // the table of the learning language.
    load();
}

void Transcriptions::load()
{
    table.clear();
    english = settings->transcriptionFileName == QLatin1String("English");
    // The name comes from the settings; whatever it names, a FIFO or a huge
    // file must not hold up the start. The shipped tables are a few megabytes.
    QByteArray data;
    QString problem;
    if (BoundedFile::read(QStringLiteral("Transcriptions/") + settings->transcriptionFileName + QStringLiteral(".trn"), &data,
                          &problem))
        table = TranscriptionFormat::readTable(data);
}

QString Transcriptions::lookup(const QString& word) const
{
    const QString lower = word.simplified().toLower();
    QString value = table.value(lower);
    if (value.isEmpty()) {
        // The table holds nouns bare; a list writes "der Hund", "la porte".
        static const QStringList articles{
            QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"), QStringLiteral("le"),
            QStringLiteral("la"),  QStringLiteral("les"), QStringLiteral("il"),  QStringLiteral("lo"),
            QStringLiteral("el"),  QStringLiteral("los"), QStringLiteral("las"), QStringLiteral("to"),
            QStringLiteral("the")};
        const qsizetype space = lower.indexOf(QLatin1Char(' '));
        if (space > 0 && articles.contains(lower.left(space)))
            value = table.value(lower.mid(space + 1));
        else if (lower.startsWith(QLatin1String("l'")) || lower.startsWith(QStringLiteral("l\u2019")))
            value = table.value(lower.mid(2));
    }
    if (value.isEmpty())
        return QString();
    return QLatin1Char('[') + value + QLatin1Char(']');
}

QString Transcriptions::lookupUnit(int key) const
{
    if (english) {
        const QString reading = Heteronyms::transcription(units->word(key), units->translation(key));
        if (!reading.isEmpty())
            return QLatin1Char('[') + reading + QLatin1Char(']');
    }
    return lookup(units->word(key));
}

QString Transcriptions::formatted(int key) const
{
    if (!settings->transcriptionEnabled)
        return QString();
    const QString text = lookupUnit(key);
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<b><font color = green> ") + text.toHtmlEscaped()
        + QStringLiteral("</font></b>");
}
