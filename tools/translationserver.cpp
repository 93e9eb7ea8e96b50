#include "translationserver.h"

#include <QFile>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

namespace {

// Requests are a line and a few headers; anything larger is not a client of ours.
constexpr int maxRequestSize = 16 * 1024;

const QByteArray servicePath = QByteArrayLiteral("/V2/Http.svc/Translate");

QByteArray httpResponse(int status, const QByteArray& reason, const QByteArray& contentType,
                        const QByteArray& body, bool close)
{
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n"
                          "Content-Type: " + contentType + "\r\n"
                          "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (close)
        response += "Connection: close\r\n";
    return response + "\r\n" + body;
}

// The real service reports a bad request as an HTML page.
QByteArray argumentException(const QString& parameter)
{
    const QByteArray body = "<html><body><h1>Argument Exception</h1><p>Method: Translate()</p>"
                            "<p>Parameter: " + parameter.toHtmlEscaped().toUtf8() + "</p></body></html>";
    return body;
}

QString decoded(QByteArray value)
{
    value.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
}

} // namespace

TranslationServer::TranslationServer(QObject* parent)
    : QObject(parent)
    , server(new QTcpServer(this))
{
    connect(server, &QTcpServer::newConnection, this, &TranslationServer::acceptConnections);
}

bool TranslationServer::loadWordList(const QString& fileName, const QString& from, const QString& to)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString word = line.left(tab).trimmed();
        const QString translation = line.mid(tab + 1).trimmed();
        if (word.isEmpty() || translation.isEmpty())
            continue;
        addTranslation(from, to, word, translation);
        addTranslation(to, from, translation, word);
        for (const QString& alternative : translation.split(QLatin1Char(','))) {
            if (!alternative.trimmed().isEmpty())
                addTranslation(to, from, alternative.trimmed(), word);
        }
    }
    return true;
}

void TranslationServer::addTranslation(const QString& from, const QString& to, const QString& text,
                                       const QString& translation)
{
    // The first entry for a text wins, as a reader of the list would expect.
    QHash<QString, QString>& dictionary = dictionaries[qMakePair(from.toLower(), to.toLower())];
    const QString key = text.toLower();
    if (!dictionary.contains(key))
        dictionary.insert(key, translation);
}

bool TranslationServer::listen(const QHostAddress& address, quint16 port)
{
    return server->listen(address, port);
}

quint16 TranslationServer::port() const
{
    return server->serverPort();
}

QUrl TranslationServer::url() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(server->serverAddress().toString());
    url.setPort(server->serverPort());
    return url;
}

void TranslationServer::setFault(Fault fault, const QString& text)
{
    faults.insert(text, fault);
}

void TranslationServer::setDelay(int milliseconds, const QString& text)
{
    delays.insert(text, milliseconds);
}

void TranslationServer::hold(const QString& text)
{
    held.insert(text);
}

void TranslationServer::release(const QString& text)
{
    held.remove(text);
    for (const HeldAnswer& answer : heldAnswers.take(text))
        if (answer.socket)
            respondLate(answer.socket, answer.response, answer.close);
}

void TranslationServer::releaseAll()
{
    const QSet<QString> all = held;
    for (const QString& text : all)
        release(text);
}

void TranslationServer::reset()
{
    releaseAll();
    faults.clear();
    delays.clear();
    clearRequests();
}

QList<QByteArray> TranslationServer::requests() const
{
    QMutexLocker locker(&requestsMutex);
    return received;
}

void TranslationServer::clearRequests()
{
    QMutexLocker locker(&requestsMutex);
    received.clear();
}

QString TranslationServer::translate(const QString& text, const QString& from, const QString& to) const
{
    const auto dictionary = dictionaries.constFind(qMakePair(from.toLower(), to.toLower()));
    if (dictionary == dictionaries.cend())
        return text;
    return dictionary->value(text.trimmed().toLower(), text);
}

QHash<QString, QString> TranslationServer::queryItems(const QByteArray& target)
{
    QHash<QString, QString> items;
    const qsizetype question = target.indexOf('?');
    if (question < 0)
        return items;
    for (const QByteArray& item : target.mid(question + 1).split('&')) {
        const qsizetype equals = item.indexOf('=');
        const QString key = decoded(equals < 0 ? item : item.left(equals));
        // A repeated key is a malformed request; the first value is kept.
        if (!items.contains(key))
            items.insert(key, equals < 0 ? QString() : decoded(item.mid(equals + 1)));
    }
    return items;
}

void TranslationServer::acceptConnections()
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        connections.insert(socket, Connection());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            connections.remove(socket);
            socket->deleteLater();
        });
    }
}

void TranslationServer::serve(QTcpSocket* socket)
{
    auto it = connections.find(socket);
    if (it == connections.end())
        return;
    it->buffer += socket->readAll();
    // One request at a time per connection, so that answers keep their order.
    while (!it->answering && !it->hung) {
        const qsizetype end = it->buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            if (it->buffer.size() > maxRequestSize) {
                it->hung = true;
                respond(socket, httpResponse(431, "Request Header Fields Too Large",
                                             "text/plain", QByteArray(), true), true);
            }
            return;
        }
        const QByteArray head = it->buffer.left(end);
        it->buffer.remove(0, end + 4);

        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
        bool close = requestLine.value(2) != "HTTP/1.1";
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == "connection"
                && line.mid(colon + 1).trimmed().toLower() == "close")
                close = true;
        }
        if (requestLine.size() != 3 || requestLine.at(0) != "GET") {
            it->hung = true;
            respond(socket, httpResponse(405, "Method Not Allowed", "text/plain", QByteArray(), true),
                    true);
            return;
        }
        const QByteArray target = requestLine.at(1);
        {
            QMutexLocker locker(&requestsMutex);
            received.append(target);
        }
        emit requestReceived(target);
        it = connections.find(socket);
        if (it == connections.end())
            return;

        const QByteArray path = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
        const QHash<QString, QString> items = queryItems(target);
        const QString text = items.value(QStringLiteral("text"));
        const Fault fault = faults.value(text, faults.value(QString(), Fault::None));
        const int delay = delays.value(text, delays.value(QString(), 0));

        QByteArray response;
        static const QRegularExpression applicationId(QStringLiteral("^[0-9A-F]{40}$"));
        if (!path.endsWith(servicePath)) {
            response = httpResponse(404, "Not Found", "text/plain", "no such service\n", close);
        } else if (!applicationId.match(items.value(QStringLiteral("appId"))).hasMatch()) {
            response = httpResponse(400, "Bad Request", "text/html",
                                    argumentException(QStringLiteral("appId")), close);
        } else if (items.value(QStringLiteral("from")).isEmpty()
                   || items.value(QStringLiteral("to")).isEmpty()) {
            response = httpResponse(400, "Bad Request", "text/html",
                                    argumentException(QStringLiteral("from/to")), close);
        } else {
            switch (fault) {
            case Fault::None: {
                const QString translation = translate(text, items.value(QStringLiteral("from")),
                                                      items.value(QStringLiteral("to")));
                const QByteArray body =
                    "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
                    + translation.toHtmlEscaped().toUtf8() + "</string>";
                response = httpResponse(200, "OK", "application/xml; charset=utf-8", body, close);
                break;
            }
            case Fault::HttpError:
                response = httpResponse(500, "Internal Server Error", "application/xml; charset=utf-8",
                                        "<string>Internal error</string>", close);
                break;
            case Fault::Garbage:
                response = httpResponse(200, "OK", "application/xml; charset=utf-8",
                                        "\x01\x02 <<not xml & at all", close);
                break;
            case Fault::NoAnswer:
                it->hung = true;
                return;
            case Fault::Disconnect:
                connections.erase(it);
                socket->disconnectFromHost();
                return;
            }
        }

        if (held.contains(text)) {
            it->answering = true;
            heldAnswers[text].append(HeldAnswer{socket, response, close});
            return;
        }
        if (delay <= 0) {
            respond(socket, response, close);
            if (close)
                return;
            continue;
        }
        it->answering = true;
        QTimer::singleShot(delay, socket, [this, socket, response, close] {
            respondLate(socket, response, close);
        });
        return;
    }
}

void TranslationServer::respondLate(QTcpSocket* socket, const QByteArray& response, bool close)
{
    respond(socket, response, close);
    const auto later = connections.find(socket);
    if (later != connections.end() && !close) {
        later->answering = false;
        serve(socket);
    }
}

void TranslationServer::respond(QTcpSocket* socket, const QByteArray& response, bool close)
{
    socket->write(response);
    if (close) {
        connections.remove(socket);
        socket->disconnectFromHost();
    }
}
