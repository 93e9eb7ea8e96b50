#include "config/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include "session/datafolders.h"

namespace Services {

QString configured(const char* variable, const QString& key, const QString& fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    const QString stored = settings.value(key).toString();
    return stored.isEmpty() ? fallback : stored;
}

int configuredMilliseconds(const char* variable, const QString& key, int fallback)
{
    bool ok = false;
    const int value = configured(variable, key, QString()).toInt(&ok);
    return ok && value >= 0 ? value : fallback;
}

QUrl localSiteRoot(const QString& programFolder)
{
    // Found from the program's own folder, not the working directory, and
    // in the same data folder as the rest of the data: beside a build,
    // under share/vocabrium once installed.
    const QString data = DataFolders::locate(programFolder, QString()).data;
    return QUrl::fromLocalFile(QDir(data).absoluteFilePath(QStringLiteral("site")) + QLatin1Char('/'));
}

QUrl siteRoot()
{
    const QString configuredRoot = configured("VOCABRIUM_SITE_URL", QStringLiteral("siteUrl"), QString());
    if (configuredRoot.isEmpty())
        return localSiteRoot(QCoreApplication::applicationDirPath());
    QString root = configuredRoot;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    // A plain folder path is taken for the folder, not for a relative address.
    if (QDir::isAbsolutePath(root) && !root.contains(QStringLiteral("://")))
        return QUrl::fromLocalFile(root);
    return QUrl(root);
}

QUrl dictionaryListUrl()
{
    return siteRoot().resolved(QUrl(QStringLiteral("dictionaries.html")));
}

QUrl advertUrl()
{
    const QString configuredUrl = configured("VOCABRIUM_ADVERT_URL", QStringLiteral("advertUrl"), QString());
    return configuredUrl.isEmpty() ? siteRoot().resolved(QUrl(QStringLiteral("advert.html")))
                                   : QUrl(configuredUrl);
}

} // namespace Services
