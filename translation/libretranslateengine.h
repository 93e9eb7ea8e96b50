#pragma once

#include "translation/onlineengine.h"

/*!
    A LibreTranslate server (open source, self-hostable):
    POST <address>/translate with the JSON object
    {"q": text, "source": from, "target": to, "format": "text"[, "api_key": key]},
    answered by {"translatedText": "…"} or {"error": "…"}.
*/
class LibreTranslateEngine : public OnlineEngine
{
    Q_OBJECT

public:
    using OnlineEngine::OnlineEngine;

    /*! LibreTranslate's name of a code of the language table ("zh-CN" is "zh"). */
    static QString languageCode(const QString& code);
    /*! The body of the request for \a text. */
    static QByteArray requestBody(const QString& text, const QString& from, const QString& to,
                                  const QString& apiKey);
    /*! The translation in a reply body; empty when there is none. */
    static QString parseReply(const QByteArray& body);

protected:
    QString title() const override;
    QNetworkRequest makeRequest(const TranslationRequest& request, QByteArray* body,
                                QString* error) const override;
    QString parse(const QByteArray& body) const override;
};
