#include "translation/libretranslateengine.h"

#include <QJsonDocument>
#include <QJsonObject>

QString LibreTranslateEngine::languageCode(const QString& code)
{
    const QString lower = code.toLower();
    if (lower == QLatin1String("zh-cn"))
        return QStringLiteral("zh");
    if (lower == QLatin1String("no"))
        return QStringLiteral("nb");
    return lower;
}

QByteArray LibreTranslateEngine::requestBody(const QString& text, const QString& from,
                                             const QString& to, const QString& apiKey)
{
    QJsonObject request{
        {QStringLiteral("q"), text},
        {QStringLiteral("source"), languageCode(from)},
        {QStringLiteral("target"), languageCode(to)},
        {QStringLiteral("format"), QStringLiteral("text")},
    };
    if (!apiKey.isEmpty())
        request.insert(QStringLiteral("api_key"), apiKey);
    return QJsonDocument(request).toJson(QJsonDocument::Compact);
}

QString LibreTranslateEngine::parseReply(const QByteArray& body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    return document.object().value(QStringLiteral("translatedText")).toString().trimmed();
}

QString LibreTranslateEngine::title() const
{
    return QStringLiteral("LibreTranslate");
}

QNetworkRequest LibreTranslateEngine::makeRequest(const TranslationRequest& request,
                                                  QByteArray* body, QString* error) const
{
    QUrl url = serviceUrl(request.settings.libreUrl, error);
    if (!url.isValid())
        return QNetworkRequest(url);
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/translate"));
    QNetworkRequest networkRequest(url);
    networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    *body = requestBody(request.text, request.from, request.to, request.settings.libreApiKey);
    return networkRequest;
}

QString LibreTranslateEngine::parse(const QByteArray& body) const
{
    return parseReply(body);
}
