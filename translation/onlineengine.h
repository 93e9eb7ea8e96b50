#pragma once

#include <QByteArray>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QQueue>
#include <QUrl>

#include "translation/translationengine.h"

class QNetworkReply;

/*!
    The common part of the online engines: at most a few requests at a time,
    the rest queued; a total deadline for each request from the moment it
    leaves (a server trickling bytes cannot hold it longer); replies read
    only up to a size no translation needs; and an address check that
    refuses, with a message, anything but an http(s) address with a host.
*/
class OnlineEngine : public TranslationEngine
{
    Q_OBJECT

public:
    explicit OnlineEngine(QObject* parent = nullptr);
    ~OnlineEngine() override;

    /*! Largest reply body read, in bytes. */
    static constexpr qint64 maxReplySize = 64 * 1024;

    /*! \a text as a service address, or an invalid QUrl with the reason in
        \a error when it is not an http or https address with a host. */
    static QUrl serviceUrl(const QString& text, QString* error);

protected:
    /*! The engine's name in failure texts. */
    virtual QString title() const = 0;
    /*! The request for \a request; an invalid URL (with \a error) refuses it. */
    virtual QNetworkRequest makeRequest(const TranslationRequest& request, QByteArray* body,
                                        QString* error) const = 0;
    /*! The translation in a reply body; empty when it holds none. */
    virtual QString parse(const QByteArray& body) const = 0;

private:
    struct Waiting
    {
        int key;
        QString text;
        int timeout;
        QNetworkRequest request;
        QByteArray body;
    };
    struct Running
    {
        int key;
        QString text;
        QByteArray received;
        bool timedOut = false;
        bool tooLarge = false;
    };

    void translate(const TranslationRequest& request) override;
    void sendQueued();
    void readSome(QNetworkReply* reply);
    void finish(QNetworkReply* reply);
    void fail(int key, const QString& reason);

    QNetworkAccessManager manager;
    QQueue<Waiting> waiting;
    QHash<QNetworkReply*, Running> running;
};
