#pragma once

#include <QHash>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

/*
    A tiny HTTP/1.0 server on 127.0.0.1 for tests of network clients. Each
    path gets a canned answer; a path set to hang is read but never answered,
    so a client's time-out can be tested. Unknown paths get 404.
*/
class HttpTestServer : public QTcpServer
{
public:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/octet-stream";
        bool hang = false;
        // Above 0: the body goes out one byte every this many milliseconds,
        // so a client's total deadline, not its idle time-out, must end it.
        int trickle = 0;
    };

    HttpTestServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
    }

    /*! "http://127.0.0.1:PORT/", the site root to point the client at. */
    QString root() const { return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort()); }

    void set(const QString& path, const Answer& answer) { answers.insert(path, answer); }
    void set(const QString& path, int status, const QByteArray& body,
             const QByteArray& contentType = "application/octet-stream")
    {
        set(path, Answer{status, body, contentType, false});
    }
    void hang(const QString& path) { set(path, Answer{200, {}, {}, true}); }
    void clear()
    {
        answers.clear();
        requested.clear();
    }

    /*! Paths asked for so far, in order. */
    QStringList requested;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& buffer = pending[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        pending.remove(socket);
        const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString();
        requested.append(path);
        const Answer answer = answers.value(path, Answer{404, "<html><body>Not found</body></html>",
                                                         "text/html", false});
        if (answer.hang)
            return;
        QByteArray reply = "HTTP/1.0 " + QByteArray::number(answer.status) + " Canned\r\n"
                           "Content-Type: " + answer.contentType + "\r\n"
                           "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n"
                           "Connection: close\r\n\r\n" + answer.body;
        if (answer.trickle > 0) {
            socket->write(reply.left(reply.size() - answer.body.size()));
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            connect(timer, &QTimer::timeout, socket, [socket, sent, body = answer.body] {
                if (*sent < body.size())
                    socket->write(body.mid((*sent)++, 1));
            });
            timer->start(answer.trickle);
            return;
        }
        socket->write(reply);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QHash<QString, Answer> answers;
    QHash<QTcpSocket*, QByteArray> pending;
};
