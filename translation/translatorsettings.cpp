#include "translation/translatorsettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings settingsStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vocabrium"),
                     QStringLiteral("Vocabrium"));
}

QString configured(const QSettings& store, const char* variable, const QString& key,
                   const QString& fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString stored = store.value(key).toString();
    return stored.isEmpty() ? fallback : stored;
}

} // namespace

TranslatorSettings TranslatorSettings::read()
{
    const QSettings store = settingsStore();
    TranslatorSettings settings;
    const QString engines = configured(store, "VOCABRIUM_TRANSLATOR_ENGINES",
                                       QStringLiteral("translatorEngines"),
                                       TranslatorSettings::allEngines().join(QLatin1Char(',')));
    for (const QString& engine : engines.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = engine.trimmed().toLower();
        if (TranslatorSettings::allEngines().contains(name) && !settings.engines.contains(name))
            settings.engines.append(name);
    }
    settings.dictionaryFolder = configured(store, "VOCABRIUM_DICTD_FOLDER",
                                           QStringLiteral("dictdFolder"), QString());
    settings.standardFolders = {TranslatorSettings::userFolder(), QStringLiteral("/usr/share/dictd")};
    settings.v2Url = configured(store, "VOCABRIUM_TRANSLATOR_URL", QStringLiteral("translatorUrl"),
                                QString());
    settings.v2ApplicationId = configured(store, "VOCABRIUM_TRANSLATOR_APPID",
                                          QStringLiteral("translatorAppId"),
                                          QStringLiteral("0A1B2C3D4E5F60718293A4B5C6D7E8F901234567"));
    settings.libreUrl = configured(store, "VOCABRIUM_LIBRETRANSLATE_URL",
                                   QStringLiteral("libreTranslateUrl"), QString());
    settings.libreApiKey = configured(store, "VOCABRIUM_LIBRETRANSLATE_KEY",
                                      QStringLiteral("libreTranslateKey"), QString());
    bool ok = false;
    const int timeout = configured(store, "VOCABRIUM_TRANSLATOR_TIMEOUT",
                                   QStringLiteral("translatorTimeout"), QString()).toInt(&ok);
    if (ok && timeout > 0)
        settings.timeout = timeout;
    return settings;
}

QStringList TranslatorSettings::folders() const
{
    QStringList all;
    if (!dictionaryFolder.trimmed().isEmpty())
        all.append(dictionaryFolder.trimmed());
    for (const QString& folder : standardFolders) {
        if (!all.contains(folder))
            all.append(folder);
    }
    return all;
}

QStringList TranslatorSettings::allEngines()
{
    return {dictionariesEngine(), libreTranslateEngine(), v2Engine()};
}

QString TranslatorSettings::engineTitle(const QString& engine)
{
    if (engine == dictionariesEngine())
        return QCoreApplication::translate("TranslatorSettings", "Словари на компьютере");
    if (engine == libreTranslateEngine())
        return QStringLiteral("LibreTranslate");
    if (engine == v2Engine())
        return QCoreApplication::translate("TranslatorSettings", "Сервис V2 (Microsoft Translator)");
    return engine;
}

QString TranslatorSettings::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Vocabrium/dictd");
}

bool TranslatorSettings::store(const TranslatorSettings& settings)
{
    QSettings store = settingsStore();
    // An empty value would read back as the default order; "none" keeps
    // every engine switched off.
    store.setValue(QStringLiteral("translatorEngines"),
                   settings.engines.isEmpty() ? QStringLiteral("none")
                                              : settings.engines.join(QLatin1Char(',')));
    store.setValue(QStringLiteral("dictdFolder"), settings.dictionaryFolder);
    store.setValue(QStringLiteral("translatorUrl"), settings.v2Url);
    store.setValue(QStringLiteral("translatorAppId"), settings.v2ApplicationId);
    store.setValue(QStringLiteral("libreTranslateUrl"), settings.libreUrl);
    store.setValue(QStringLiteral("libreTranslateKey"), settings.libreApiKey);
    store.setValue(QStringLiteral("translatorTimeout"), settings.timeout);
    store.sync();
    return store.status() == QSettings::NoError;
}
