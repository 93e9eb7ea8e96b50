#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

/*
    A small stand-in for the online translation service, for development and
    tests: it answers GET /V2/Http.svc/Translate?appId=…&text=…&from=…&to=…
    over HTTP/1.1 with one XML element holding the translation, taken from a
    word list. Like the real service it echoes a text it cannot translate.

    Tests can make it slow (setDelay) or faulty (setFault), per text or for
    every request, or hold answers back until they release them (hold), to
    have answers arrive in the order a test needs without waiting for time. Configure it before moving it to another thread; the list
    of received requests may be read from any thread.
*/
class TranslationServer : public QObject
{
    Q_OBJECT

public:
    enum class Fault {
        None,
        HttpError,  // HTTP 500 with an XML error body
        Garbage,    // HTTP 200 with a body that is not XML
        NoAnswer,   // read the request and never answer
        Disconnect, // close the connection without an answer
    };

    explicit TranslationServer(QObject* parent = nullptr);

    /* Reads a tab-separated word list (word, tab, translation) as entries
        from \a from into \a to and, for each comma-separated alternative of
        the translation, back. False when the file cannot be read. */
    bool loadWordList(const QString& fileName, const QString& from = QStringLiteral("en"),
                      const QString& to = QStringLiteral("ru"));
    void addTranslation(const QString& from, const QString& to, const QString& text,
                        const QString& translation);

    bool listen(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const;
    /* The address to give the translator, e.g. http://127.0.0.1:40123. */
    QUrl url() const;

    /* Sets the fault for requests of \a text, or for all others when \a text is null. */
    void setFault(Fault fault, const QString& text = QString());
    /* Delays the answers to \a text, or to all others when \a text is null. */
    void setDelay(int milliseconds, const QString& text = QString());
    /* Keeps the answers to \a text back until release(\a text), whatever their delay. */
    void hold(const QString& text);
    /* Sends the answers to \a text held so far, and those to come at once. */
    void release(const QString& text);
    void releaseAll();
    /* Answers as after construction: held answers are sent, faults, delays
        and holds are dropped, and no request is recorded. The word lists stay. */
    void reset();

    /* Request targets (path and query, as sent) in the order they arrived. */
    QList<QByteArray> requests() const;
    void clearRequests();

    /* The translation the server gives for a request's query items. */
    QString translate(const QString& text, const QString& from, const QString& to) const;

    /* The query items of \a target decoded as a web server does, "+" as a space. */
    static QHash<QString, QString> queryItems(const QByteArray& target);

signals:
    void requestReceived(const QByteArray& target);

private:
    struct Connection
    {
        QByteArray buffer;
        bool answering = false; // an answer is being delayed
        bool hung = false;      // never answers again
    };

    void acceptConnections();
    void serve(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const QByteArray& response, bool close);
    // Sends an answer that was kept back, then serves what waited behind it.
    void respondLate(QTcpSocket* socket, const QByteArray& response, bool close);

    struct HeldAnswer
    {
        QPointer<QTcpSocket> socket;
        QByteArray response;
        bool close = false;
    };

    QTcpServer* server;
    QHash<QTcpSocket*, Connection> connections;
    QHash<QPair<QString, QString>, QHash<QString, QString>> dictionaries;
    QHash<QString, Fault> faults;
    QHash<QString, int> delays;
    QSet<QString> held;
    QHash<QString, QList<HeldAnswer>> heldAnswers;
    mutable QMutex requestsMutex;
    QList<QByteArray> received;
};
