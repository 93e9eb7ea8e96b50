#include "languages/dictionarylanguage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include "model/boundedfile.h"

namespace {

constexpr qint64 MaximumSize = 4096;

QString tr(const char* text)
{
    return QCoreApplication::translate("DictionaryLanguage", text);
}

bool isLanguageCode(const QString& code)
{
    if (code.size() < 2 || code.size() > 3)
        return false;
    for (const QChar c : code)
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
    return true;
}

} // namespace

const QStringList& DictionaryLanguage::supported()
{
    static const QStringList codes{QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"),
                                   QStringLiteral("it"), QStringLiteral("es")};
    return codes;
}

QString DictionaryLanguage::fromName(const QString& name)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("english"), QStringLiteral("en")},   {QStringLiteral("английский"), QStringLiteral("en")},
        {QStringLiteral("french"), QStringLiteral("fr")},    {QStringLiteral("français"), QStringLiteral("fr")},
        {QStringLiteral("francais"), QStringLiteral("fr")},  {QStringLiteral("французский"), QStringLiteral("fr")},
        {QStringLiteral("german"), QStringLiteral("de")},    {QStringLiteral("deutsch"), QStringLiteral("de")},
        {QStringLiteral("немецкий"), QStringLiteral("de")},  {QStringLiteral("italian"), QStringLiteral("it")},
        {QStringLiteral("italiano"), QStringLiteral("it")},  {QStringLiteral("итальянский"), QStringLiteral("it")},
        {QStringLiteral("spanish"), QStringLiteral("es")},   {QStringLiteral("español"), QStringLiteral("es")},
        {QStringLiteral("espanol"), QStringLiteral("es")},   {QStringLiteral("испанский"), QStringLiteral("es")}};
    const QString lower = name.trimmed().toLower();
    // A locale such as "de_DE" or "en-GB" names its language first.
    const QString code = lower.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0);
    if (supported().contains(code))
        return code;
    return names.value(lower);
}

QString DictionaryLanguage::sidecarPath(const QString& dicPath)
{
    QString base = dicPath;
    if (base.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".lang");
}

DictionaryLanguage::Reading DictionaryLanguage::read(const QString& dicPath)
{
    Reading reading;
    const QString path = sidecarPath(dicPath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return reading;
    reading.kind = Reading::Damaged;
    QByteArray data;
    if (!BoundedFile::read(path, &data, &reading.problem, MaximumSize))
        return reading;
    const QString text = QString::fromUtf8(data);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed().toLower();
        if (key == QLatin1String("foreign"))
            reading.foreign = value;
        else if (key == QLatin1String("native"))
            reading.native = value;
    }
    if (!isLanguageCode(reading.foreign)) {
        reading.foreign.clear();
        reading.native.clear();
        reading.problem = tr("в нём не указан язык слов");
        return reading;
    }
    if (!isLanguageCode(reading.native))
        reading.native = QStringLiteral("ru");
    reading.kind = Reading::Whole;
    return reading;
}

QString DictionaryLanguage::write(const QString& dicPath, const QString& foreign, const QString& native)
{
    const QString path = sidecarPath(dicPath);
    QSaveFile file(path);
    const QByteArray bytes = QStringLiteral("foreign=%1\nnative=%2\n").arg(foreign, native).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return tr("Не удалось записать язык словаря в файл %1: %2.").arg(path, file.errorString());
    return QString();
}
