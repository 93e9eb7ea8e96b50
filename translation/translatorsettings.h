#pragma once

#include <QString>
#include <QStringList>

/*!
    How words are translated: which engines are asked, in what order, and
    where they are. One value for the program run, read at start-up from the
    environment (for development and scripts), else the settings store, else
    the defaults; every translator reads it when asked, and the translator
    settings dialog changes and stores it.

    | value            | environment                  | settings key        | default |
    | engines          | VOCABRIUM_TRANSLATOR_ENGINES | "translatorEngines" | dictionaries, libretranslate, v2 |
    | dictionaryFolder | VOCABRIUM_DICTD_FOLDER       | "dictdFolder"       | none |
    | v2Url            | VOCABRIUM_TRANSLATOR_URL     | "translatorUrl"     | none |
    | v2ApplicationId  | VOCABRIUM_TRANSLATOR_APPID   | "translatorAppId"   | the built-in ID |
    | libreUrl         | VOCABRIUM_LIBRETRANSLATE_URL | "libreTranslateUrl" | none |
    | libreApiKey      | VOCABRIUM_LIBRETRANSLATE_KEY | "libreTranslateKey" | none |
    | timeout (ms)     | VOCABRIUM_TRANSLATOR_TIMEOUT | "translatorTimeout" | 15000 |

    An online engine without an address is not asked; there is no built-in
    public host to which words would go unasked.
*/
struct TranslatorSettings
{
    /*! Engine names in the order they are asked. */
    QStringList engines;
    /*! A folder of the user's own dictd files, searched first. */
    QString dictionaryFolder;
    /*! The folders searched after it (not stored): the program's own
        folder of dictd files and the one the system's packages fill. */
    QStringList standardFolders;
    QString v2Url;
    QString v2ApplicationId;
    QString libreUrl;
    QString libreApiKey;
    /*! The longest an online request may take in all, in milliseconds. */
    int timeout = 15000;

    /*! dictionaryFolder (when set) followed by standardFolders. */
    QStringList folders() const;

    static QString dictionariesEngine() { return QStringLiteral("dictionaries"); }
    static QString libreTranslateEngine() { return QStringLiteral("libretranslate"); }
    static QString v2Engine() { return QStringLiteral("v2"); }
    /*! Every engine name, in the default order. */
    static QStringList allEngines();
    /*! The name the window shows for an engine. */
    static QString engineTitle(const QString& engine);

    /*! The folder of dictd files that belongs to the program:
        ~/.local/share/Vocabrium/dictd on Linux. */
    static QString userFolder();

    /*! The environment, else the settings store, else the defaults. */
    static TranslatorSettings read();
    /*! Writes \a settings to the settings store; false when it could not. */
    static bool store(const TranslatorSettings& settings);
};
