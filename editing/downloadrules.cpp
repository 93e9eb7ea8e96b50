#include "editing/downloadrules.h"

#include <QRegularExpression>

#include "model/dictionaryformat.h"

namespace DownloadRules {

QString fileName(const QString& address)
{
    QString path = address;
    const qsizetype end = path.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        path.truncate(end);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);

    static const QString suffix = QStringLiteral(".dic");
    if (!name.endsWith(suffix, Qt::CaseInsensitive) || name.size() <= suffix.size())
        return QString();
    // A leading dot covers "..", ".dic" and hidden files alike.
    if (name.startsWith(QLatin1Char('.')))
        return QString();
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char(':')
            || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return QString();
    }
    return name;
}

bool isDictionary(const QByteArray& body)
{
    QList<Unit> units;
    return DictionaryFormat::readWholeUnits(body, &units).isEmpty() && !units.isEmpty();
}

} // namespace DownloadRules
