#include "translation/v2engine.h"

#include <QUrlQuery>
#include <QXmlStreamReader>

namespace {

// QUrlQuery leaves "+" (and with it the meaning of the text) to the server's
// taste, so every value goes in already percent-encoded.
QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

QUrl V2Engine::requestUrl(const QString& address, const QString& applicationId, const QString& text,
                          const QString& from, const QString& to, QString* error)
{
    QUrl url = serviceUrl(address, error);
    if (!url.isValid())
        return url;
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/V2/Http.svc/Translate"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("appId"), encoded(applicationId));
    query.addQueryItem(QStringLiteral("text"), encoded(text));
    query.addQueryItem(QStringLiteral("from"), encoded(from));
    query.addQueryItem(QStringLiteral("to"), encoded(to));
    url.setQuery(query);
    return url;
}

QString V2Engine::parseReply(const QByteArray& body)
{
    QXmlStreamReader reader(body);
    if (!reader.readNextStartElement())
        return QString();
    const QString text = reader.readElementText();
    // Whatever follows the element must still be well-formed; a cut-off or
    // mixed-up body is no answer, even if some text could be collected.
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    return reader.hasError() ? QString() : text;
}

QString V2Engine::title() const
{
    return tr("сервис V2");
}

QNetworkRequest V2Engine::makeRequest(const TranslationRequest& request, QByteArray* body,
                                      QString* error) const
{
    Q_UNUSED(body)
    return QNetworkRequest(requestUrl(request.settings.v2Url, request.settings.v2ApplicationId,
                                      request.text, request.from, request.to, error));
}

QString V2Engine::parse(const QByteArray& body) const
{
    return parseReply(body);
}
