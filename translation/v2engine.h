#pragma once

#include "translation/onlineengine.h"

/*!
    The Microsoft Translator V2 HTTP interface, or any server answering the
    same way (the project's own vocabrium-translate-server):
    GET <address>/V2/Http.svc/Translate?appId=…&text=…&from=…&to=…,
    answered by one XML element whose text is the translation.
*/
class V2Engine : public OnlineEngine
{
    Q_OBJECT

public:
    using OnlineEngine::OnlineEngine;

    /*! The request for \a text from \a from into \a to at \a address, every
        query value fully percent-encoded; invalid (with \a error) when the
        address is unusable. */
    static QUrl requestUrl(const QString& address, const QString& applicationId,
                           const QString& text, const QString& from, const QString& to,
                           QString* error);

    /*! The text of the reply's one element; empty when the body is not
        well-formed XML or the element holds other elements instead of text. */
    static QString parseReply(const QByteArray& body);

protected:
    QString title() const override;
    QNetworkRequest makeRequest(const TranslationRequest& request, QByteArray* body,
                                QString* error) const override;
    QString parse(const QByteArray& body) const override;
};
