#include "app/adwidget.h"

#include <QDesktopServices>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "config/services.h"
#include "model/random.h"

namespace {

// The strip is 160 pixels high; a page larger than this is not an advert.
constexpr qint64 MaximumPageSize = 256 * 1024;

const char* const tips[] = {
    QT_TRANSLATE_NOOP("AdWidget", "Учите понемногу, но каждый день: десять новых слов в день — это "
                                  "больше трёх тысяч слов за год."),
    QT_TRANSLATE_NOOP("AdWidget", "Произносите слово вслух вместе с диктором: так оно запоминается "
                                  "и глазами, и на слух."),
    QT_TRANSLATE_NOOP("AdWidget", "Ошибки — часть обучения. Слово, в котором вы ошиблись, программа "
                                  "спросит ещё раз, пока вы его не запомните."),
    QT_TRANSLATE_NOOP("AdWidget", "Добавляйте слова из текстов, которые вам интересны: Редактор "
                                  "словаря → \"Добавить\" → \"Из текста\"."),
    QT_TRANSLATE_NOOP("AdWidget", "Слова, которые вы уже знаете, отмечайте кнопкой \"Не изучать "
                                  "слово\" — они больше не будут вам предлагаться."),
    QT_TRANSLATE_NOOP("AdWidget", "Готовые словари можно скачать: Файл → \"Скачать словарь...\"."),
};

} // namespace

AdWidget::AdWidget(QWidget* parent)
    : QWidget(parent)
    , view(new QTextBrowser)
    , manager(new QNetworkAccessManager(this))
{
    // Every link leaves the strip for the system's browser.
    view->setOpenLinks(false);
    view->setOpenExternalLinks(false);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFrameShape(QFrame::NoFrame);
    connect(view, &QTextBrowser::anchorClicked, this, &AdWidget::loadUrl);
    connect(manager, &QNetworkAccessManager::finished, this, &AdWidget::replyFinished);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view, 0);
    tipIndex = Random::next();
    showLocalPage();
}

QString AdWidget::localHtml(int index)
{
    const int count = int(std::size(tips));
    const QString tip = tr(tips[((index % count) + count) % count]);
    return QStringLiteral("<table width=100% height=100%><tr><td align=center valign=middle>"
                          "<p style=\"color: darkslategray\"><b>")
        + tr("Совет") + QStringLiteral("</b></p><p>") + tip.toHtmlEscaped()
        + QStringLiteral("</p></td></tr></table>");
}

void AdWidget::updateAd()
{
    if (pending) {
        // A fresh load replaces the one still under way; aborting reports
        // that reply as finished, which must find it no longer pending.
        QNetworkReply* old = pending;
        pending = nullptr;
        old->abort();
    }
    const QUrl url = Services::advertUrl();
    if (!url.isValid() || url.isEmpty()) {
        showLocalPage();
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(Services::configuredMilliseconds("VOCABRIUM_ADVERT_TIMEOUT", QStringLiteral("advertTimeout"), 8000));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    pending = manager->get(request);
}

void AdWidget::replyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != pending)
        return;
    pending = nullptr;
    // A page read from a file: address has no HTTP status at all.
    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttribute.isValid() ? statusAttribute.toInt() : 200;
    if (reply->error() != QNetworkReply::NoError || status < 200 || status >= 300) {
        showLocalPage();
        return;
    }
    const QByteArray body = reply->read(MaximumPageSize + 1);
    if (body.trimmed().isEmpty() || body.size() > MaximumPageSize) {
        showLocalPage();
        return;
    }
    // The page is rendered as rich text only: no scripts run, and resources
    // other than the page itself are not fetched.
    QStringDecoder decoder(QStringDecoder::encodingForHtml(body).value_or(QStringConverter::Utf8));
    const QString html = decoder(body);
    view->setHtml(html);
    pageUrl = reply->url();
    localPage = false;
    emit pageShown();
}

void AdWidget::showLocalPage()
{
    view->setHtml(localHtml(tipIndex++));
    pageUrl = QUrl();
    localPage = true;
    emit pageShown();
}

void AdWidget::loadUrl(const QUrl& url)
{
    // Links of the page are relative to where the page came from.
    QDesktopServices::openUrl(pageUrl.isValid() ? pageUrl.resolved(url) : url);
}
