#pragma once

#include <QObject>
#include <QString>

#include "translation/translatorsettings.h"

/*! One word to translate, with the configuration in force when it was asked. */
struct TranslationRequest
{
    int key = 0;
    QString text;
    QString from;
    QString to;
    TranslatorSettings settings;
};

/*!
    One way of translating a word: the installed dictionaries or an online
    service. Every request gets exactly one answered() signal, never from
    inside translate(); a request without a translation carries the reason
    as a short Russian text, and a translation a note on how it was made
    ("через английский: dog"), or an empty one.
*/
class TranslationEngine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void translate(const TranslationRequest& request) = 0;

signals:
    void answered(int key, QString translation, QString article, QString failure, QString note);
};
