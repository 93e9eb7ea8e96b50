#include "translation/onlineengine.h"

#include <QNetworkReply>
#include <QTimer>

namespace {

// The network layer opens no more connections per host anyway; the rest wait
// here, so that the deadline of each counts from the moment it is sent.
constexpr int maxRunning = 6;

} // namespace

OnlineEngine::OnlineEngine(QObject* parent)
    : TranslationEngine(parent)
{
}

OnlineEngine::~OnlineEngine()
{
    // Replies torn down with the manager must not reach a half-destroyed object.
    for (auto it = running.cbegin(); it != running.cend(); ++it)
        disconnect(it.key(), nullptr, this, nullptr);
}

QUrl OnlineEngine::serviceUrl(const QString& text, QString* error)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.hasQuery() && !url.hasFragment())
        return url;
    // A mistyped address is no reason to send the user's words elsewhere.
    *error = tr("неверный адрес сервиса «%1»: нужен адрес вида http://хост:порт").arg(text.trimmed());
    return QUrl();
}

void OnlineEngine::translate(const TranslationRequest& request)
{
    QByteArray body;
    QString error;
    const QNetworkRequest networkRequest = makeRequest(request, &body, &error);
    if (!networkRequest.url().isValid()) {
        fail(request.key, error);
        return;
    }
    waiting.enqueue(Waiting{request.key, request.text, qMax(1, request.settings.timeout),
                            networkRequest, body});
    sendQueued();
}

void OnlineEngine::fail(int key, const QString& reason)
{
    QMetaObject::invokeMethod(
        this, [this, key, reason] { emit answered(key, QString(), QString(), title() + QStringLiteral(": ") + reason, QString()); },
        Qt::QueuedConnection);
}

void OnlineEngine::sendQueued()
{
    while (running.size() < maxRunning && !waiting.isEmpty()) {
        const Waiting next = waiting.dequeue();
        QNetworkReply* reply = next.body.isNull() ? manager.get(next.request)
                                                  : manager.post(next.request, next.body);
        running.insert(reply, Running{next.key, next.text, QByteArray()});
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { readSome(reply); });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
        QTimer::singleShot(next.timeout, reply, [this, reply] {
            const auto state = running.find(reply);
            if (state == running.end())
                return;
            state->timedOut = true;
            reply->abort();
        });
    }
}

void OnlineEngine::readSome(QNetworkReply* reply)
{
    Running& state = running[reply];
    state.received += reply->read(maxReplySize + 1 - state.received.size());
    if (state.received.size() > maxReplySize) {
        state.tooLarge = true;
        reply->abort();
    }
}

void OnlineEngine::finish(QNetworkReply* reply)
{
    if (!running.contains(reply))
        return;
    readSome(reply);
    const Running state = running.take(reply);
    reply->deleteLater();
    QString translation;
    QString failure;
    if (state.tooLarge) {
        failure = tr("ответ сервиса слишком велик");
    } else if (state.timedOut) {
        failure = tr("сервис не ответил вовремя");
    } else if (reply->error() != QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        failure = status > 0 ? tr("сервис отказал (HTTP %1)").arg(status) : tr("сервис недоступен");
    } else {
        translation = parse(state.received);
        // A service that echoes an unknown word gives no translation.
        if (translation.trimmed().toLower() == state.text.trimmed().toLower())
            translation.clear();
        if (translation.isEmpty())
            failure = tr("сервис не знает перевода");
    }
    sendQueued();
    emit answered(state.key, translation, QString(),
                  failure.isEmpty() ? QString() : title() + QStringLiteral(": ") + failure, QString());
}
