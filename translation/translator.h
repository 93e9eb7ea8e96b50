#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include "translation/translatorsettings.h"

class OfflineDictionaries;
class Settings;
class TranslationEngine;

/*!
    Translates words with the engines the settings name, in their order:
    by default the installed dictionaries first, then the online services
    that have an address. The first engine with a translation answers; when
    none has one, the answer is empty and says why.

    translate() returns a key at once; translated() reports the answer under
    that key, exactly once per request and never from inside translate().
    details() comes just before it, with every dictionary article found and,
    for an empty answer, the reasons ("нет в словарях; LibreTranslate:
    сервис недоступен").

    translate(text) goes from the settings' learningLanguage into their
    interfaceLanguage as they stand at the call; translate(text, from, to)
    names the pair (a batch the other way round). The engines and their
    addresses are the translator settings at the moment of the call.
*/
class Translator : public QObject
{
    Q_OBJECT

public:
    Translator(const Settings* settings, const TranslatorSettings* translatorSettings,
               OfflineDictionaries* dictionaries, QObject* parent = nullptr);
    ~Translator() override;

    /*! Asks for the translation of \a text, sent exactly as given. */
    int translate(const QString& text);
    /*! The same from \a from into \a to (codes of languages()). */
    int translate(const QString& text, const QString& from, const QString& to);

signals:
    void details(int key, QString article, QString failure, QString note);
    void translated(int key, QString translation);

private:
    struct Pending
    {
        QString text;
        QString from;
        QString to;
        TranslatorSettings settings;
        QStringList engines;
        int next = 0;
        QString article;
        QStringList failures;
    };

    void askNext(int key);
    void receive(int key, const QString& translation, const QString& article, const QString& failure,
                 const QString& note);
    TranslationEngine* engine(const QString& name);

    const Settings* settings;
    const TranslatorSettings* translatorSettings;
    OfflineDictionaries* dictionaries;
    QHash<QString, TranslationEngine*> engines;
    QHash<int, Pending> pending;
    int lastKey = 0;
};

/*! The languages offered for learning: (service code, Russian name) pairs. */
QList<QPair<QString, QString>> languages();

/*! The codes of \a table, in table order. */
QStringList languageCodes(const QList<QPair<QString, QString>>& table);

/*! The name of the first row of \a table whose code equals \a code ignoring
    case; a null string when there is none. */
QString languageName(const QList<QPair<QString, QString>>& table, const QString& code);
