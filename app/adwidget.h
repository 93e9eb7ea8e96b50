#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;
class QTextBrowser;

/*!
    The strip under the word selection page: a small page from the
    dictionary site, or a learning tip of the program's own when that page
    cannot be had. Links open in the system's browser.
*/
class AdWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AdWidget(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return view; }
    /*! True while the program's own page is shown. */
    bool showsLocalPage() const { return localPage; }

    /*! The program's own page: one of its learning tips, chosen by \a index. */
    static QString localHtml(int index);

signals:
    /*! The strip shows a new page (for tests and the curious). */
    void pageShown();

public slots:
    void updateAd();

private slots:
    void loadUrl(const QUrl& url);

private:
    void showLocalPage();
    void replyFinished(QNetworkReply* reply);

    QTextBrowser* view;
    QNetworkAccessManager* manager;
    QPointer<QNetworkReply> pending;
    QUrl pageUrl;
    bool localPage = false;
    int tipIndex = 0;
};
