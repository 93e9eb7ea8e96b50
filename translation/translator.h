#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QObject>
#include <QPair>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkReply;

/*!
    Client of the online translation service (the Microsoft Translator V2 HTTP
    interface, or any server answering the same way).

    translate() queues one request; translated() reports its answer together
    with the text that was sent, so callers match answers to requests by text,
    never by order. Every request yields exactly one translated() signal: an
    answer the service could not give (network error, HTTP error, time-out,
    unreadable body, or an answer equal to the source) arrives as an empty
    translation.

    The source and target languages are read from the application-wide values
    learningLanguage and interfaceLanguage when translate() is called, so a
    caller may swap them around a batch of calls.

    The service address, application ID and time-out are process-wide
    configuration. Each is taken from, in this order: the setter below, the
    environment (VOCABRIUM_TRANSLATOR_URL, VOCABRIUM_TRANSLATOR_APPID,
    VOCABRIUM_TRANSLATOR_TIMEOUT in milliseconds), the settings store (keys
    "translatorUrl", "translatorAppId", "translatorTimeout"), the built-in
    default.
*/
class Translator : public QObject
{
    Q_OBJECT

public:
    explicit Translator(QObject* parent = nullptr);
    ~Translator() override;

    /*! Asks for the translation of \a text, sent exactly as given. Returns at once. */
    void translate(const QString& text);

    /*! The address of the service: scheme, host, port and an optional path
        prefix to which "/V2/Http.svc/Translate" is appended. */
    static QUrl serviceUrl();
    static void setServiceUrl(const QUrl& url);
    static QString applicationId();
    static void setApplicationId(const QString& id);
    /*! Milliseconds a request may go without any data before it is given up. */
    static int timeout();
    static void setTimeout(int milliseconds);

    /*! The request for \a text from language \a from into \a to at the
        configured service, every query value fully percent-encoded. */
    static QUrl requestUrl(const QString& text, const QString& from, const QString& to);

    /*! The translation carried by a reply body: the text of its one element.
        Empty when the body is not well-formed XML or the element holds
        other elements instead of text. */
    static QString parseReply(const QByteArray& body);

signals:
    void translated(QString, QString);

private slots:
    void produceTranslations(QNetworkReply* reply);

private:
    void sendQueued();

    QNetworkAccessManager manager;
    // Requests wait here until a connection is free, so that the time-out of
    // each counts from the moment it is actually sent and a long batch does
    // not time out in the queue.
    QQueue<QNetworkRequest> waiting;
    int running = 0;
};

/*! The languages offered for learning: (service code, Russian name) pairs. */
QList<QPair<QString, QString>> languages();

/*! The codes of \a table, in table order. */
QStringList languageCodes(const QList<QPair<QString, QString>>& table);

/*! The name of the first row of \a table whose code equals \a code ignoring
    case; a null string when there is none. */
QString languageName(const QList<QPair<QString, QString>>& table, const QString& code);
