#include "app/services.h"

#include <QSettings>

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

QUrl siteRoot()
{
    QString root = configured("VOCABRIUM_SITE_URL", QStringLiteral("siteUrl"),
                              QStringLiteral("http://localhost:8091/"));
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return QUrl(root);
}

QUrl advertUrl()
{
    const QString configuredUrl = configured("VOCABRIUM_ADVERT_URL", QStringLiteral("advertUrl"), QString());
    return configuredUrl.isEmpty() ? siteRoot().resolved(QUrl(QStringLiteral("advert.html")))
                                   : QUrl(configuredUrl);
}

} // namespace Services
