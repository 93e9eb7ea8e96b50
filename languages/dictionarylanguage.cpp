#include "languages/dictionarylanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

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
    if (!info.isFile()) {
        reading.problem = tr("это не обычный файл");
        return reading;
    }
    if (info.size() > MaximumSize) {
        reading.problem = tr("файл слишком велик");
        return reading;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reading.problem = file.errorString();
        return reading;
    }
    const QString text = QString::fromUtf8(file.read(MaximumSize));
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
