// siteserver: serves a folder over plain HTTP, enough for the dictionary
// site (tools/serve-site.sh): GET and HEAD of the files below the folder,
// nothing else.
//
//   siteserver FOLDER [PORT] [ADDRESS]      (defaults: 8091, 127.0.0.1)
//
// Built with the program, so the site can be served wherever the program
// builds, without any other web server installed.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <cstdio>

namespace {

constexpr qsizetype MaxRequestSize = 16 * 1024;

QByteArray contentType(const QString& path)
{
    if (path.endsWith(QLatin1String(".html")))
        return path.endsWith(QLatin1String("dictionaries.html")) ? "text/html; charset=windows-1251"
                                                                 : "text/html; charset=utf-8";
    if (path.endsWith(QLatin1String(".png")))
        return "image/png";
    if (path.endsWith(QLatin1String(".css")))
        return "text/css; charset=utf-8";
    return "application/octet-stream";
}

void respond(QTcpSocket* socket, const QByteArray& status, const QByteArray& type,
             const QByteArray& body, bool withBody)
{
    socket->write("HTTP/1.0 " + status + "\r\nContent-Type: " + type
                  + "\r\nContent-Length: " + QByteArray::number(body.size())
                  + "\r\nConnection: close\r\n\r\n");
    if (withBody)
        socket->write(body);
    socket->disconnectFromHost();
}

void serve(QTcpSocket* socket, const QString& root)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    if (request.size() > MaxRequestSize) {
        socket->abort();
        return;
    }
    socket->setProperty("request", request);
    const qsizetype end = request.indexOf("\r\n");
    if (end < 0 || !request.contains("\r\n\r\n"))
        return;
    socket->setProperty("request", QVariant());

    const QList<QByteArray> parts = request.left(end).split(' ');
    const bool head = parts.value(0) == "HEAD";
    if (parts.size() != 3 || (parts.at(0) != "GET" && !head)) {
        respond(socket, "405 Method Not Allowed", "text/plain", "Method not allowed\n", true);
        return;
    }
    const QByteArray target = parts.at(1);
    const qsizetype query = target.indexOf('?');
    QString path = QUrl::fromPercentEncoding(query < 0 ? target : target.left(query));
    if (path.endsWith(QLatin1Char('/')))
        path += QStringLiteral("index.html");
    // Only files inside the served folder, whatever ".." the request holds.
    const QString file = QDir::cleanPath(root + QLatin1Char('/') + path);
    const QFileInfo info(file);
    QFile content(file);
    if (!file.startsWith(root + QLatin1Char('/')) || !info.isFile()
        || !info.canonicalFilePath().startsWith(root + QLatin1Char('/'))
        || !content.open(QIODevice::ReadOnly)) {
        respond(socket, "404 Not Found", "text/plain", "Not found\n", !head);
        std::printf("%s %s 404\n", parts.at(0).constData(), parts.at(1).constData());
    } else {
        respond(socket, "200 OK", contentType(file), content.readAll(), !head);
        std::printf("%s %s 200\n", parts.at(0).constData(), parts.at(1).constData());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args.size() > 4) {
        std::fprintf(stderr, "usage: siteserver FOLDER [PORT] [ADDRESS]\n");
        return 2;
    }
    const QString root = QFileInfo(args.at(1)).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir()) {
        std::fprintf(stderr, "siteserver: no folder %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const quint16 port = args.size() > 2 ? args.at(2).toUShort() : 8091;
    const QHostAddress address(args.size() > 3 ? args.at(3) : QStringLiteral("127.0.0.1"));

    QTcpServer server;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, root] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, root] { serve(socket, root); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (!server.listen(address, port)) {
        std::fprintf(stderr, "siteserver: cannot listen on %s:%u: %s\n", qPrintable(address.toString()),
                     unsigned(port), qPrintable(server.errorString()));
        return 1;
    }
    std::printf("Serving %s at http://%s:%u/\n", qPrintable(root), qPrintable(address.toString()),
                unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
