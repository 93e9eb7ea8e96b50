#include "editing/downloaderdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/services.h"
#include "config/settings.h"
#include "editing/dictionarylistparser.h"
#include "languages/dictionarylanguage.h"
#include "editing/downloadrules.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/statuses.h"

namespace {


QNetworkRequest request(const QUrl& url)
{
    QNetworkRequest result(url);
    result.setTransferTimeout(Services::configuredMilliseconds("VOCABRIUM_TRANSFER_TIMEOUT", QStringLiteral("transferTimeout"), 30000));
    return result;
}

} // namespace

DownloaderDialog::DownloaderDialog(const QString& dictionariesPath, QWidget* parent)
    : QDialog(parent)
    , dictionariesPath(dictionariesPath)
    , listManager(new QNetworkAccessManager(this))
    , fileManager(new QNetworkAccessManager(this))
    , tree(new QTreeWidget)
    , button(new QPushButton(tr("Скачать")))
    , statusLabel(new QLabel)
{
    setWindowTitle(tr("Скачать словарь"));
    tree->setRootIsDecorated(false);
    tree->setHeaderLabels({tr("Название"), tr("Слов"), tr("Описание"), tr("Автор")});
    tree->header()->resizeSection(0, 190);
    tree->header()->resizeSection(1, 70);
    tree->header()->resizeSection(2, 260);
    tree->header()->setStretchLastSection(true);
    statusLabel->setWordWrap(true);
    statusLabel->setTextFormat(Qt::PlainText);
    statusLabel->hide();

    connect(button, &QPushButton::clicked, this, &DownloaderDialog::startDownload);
    connect(listManager, &QNetworkAccessManager::finished, this, &DownloaderDialog::setFileList);
    connect(fileManager, &QNetworkAccessManager::finished, this, &DownloaderDialog::finishDownload);

    auto* buttonLayout = new QHBoxLayout;
    buttonLayout->addStretch();
    buttonLayout->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusLabel);
    layout->addWidget(tree);
    layout->addLayout(buttonLayout);
    setMinimumSize(450, 400);
    resize(680, 440);
}

QStringList DownloaderDialog::replacedFiles() const
{
    return replaced;
}

QString DownloaderDialog::downloadedFile() const
{
    return downloaded;
}

int DownloaderDialog::exec()
{
    setControlsEnabled(false);
    tree->clear();
    replaced.clear();
    getFileList();
    const int result = QDialog::exec();
    // A reply that comes after the dialog closed must neither store a file
    // nor ask anything.
    abandonReplies();
    return result;
}

void DownloaderDialog::limitSize(QNetworkReply* reply, qint64 limit)
{
    // A server that sends without end must not fill the memory.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, limit](qint64 received, qint64) {
        if (received > limit) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
}

void DownloaderDialog::getFileList()
{
    const QUrl url = Services::dictionaryListUrl();
    listReply = listManager->get(request(url));
    limitSize(listReply, MaximumListSize);
}

void DownloaderDialog::setFileList(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != listReply)
        return;
    listReply = nullptr;
    // A failed list leaves the table empty and says why; the user can close and try again.
    statusLabel->hide();
    if (reply->error() != QNetworkReply::NoError) {
        const QString reason = reply->property("tooLarge").toBool() ? tr("страница слишком велика")
                                                                    : DownloadRules::networkErrorText(reply->error());
        statusLabel->setText(tr("Не удалось получить список словарей по адресу %1: %2.")
                                 .arg(DownloadRules::addressText(reply->url()), reason));
        statusLabel->show();
    } else {
        const QString page = DictionaryListParser::decodePage(reply->readAll());
        const QList<DictionaryListParser::Entry> entries =
            DictionaryListParser::parse(page, Services::siteRoot().toString());
        QList<QTreeWidgetItem*> rows;
        const QIcon icon(QStringLiteral(":Open.png"));
        for (const DictionaryListParser::Entry& entry : entries) {
            auto* row = new QTreeWidgetItem;
            row->setIcon(0, icon);
            row->setText(0, entry.name);
            row->setText(1, entry.count);
            row->setText(2, entry.description);
            row->setText(3, entry.author);
            // Long names and descriptions are read in full in a tooltip.
            for (int column = 0; column < 4; ++column)
                row->setToolTip(column, row->text(column));
            row->setText(AddressColumn, entry.address);
            row->setText(LanguageColumn, entry.language);
            rows.append(row);
        }
        tree->addTopLevelItems(rows);
        if (rows.isEmpty()) {
            statusLabel->setText(tr("На странице %1 нет ни одного словаря.").arg(DownloadRules::addressText(reply->url())));
            statusLabel->show();
        }
    }
    setControlsEnabled(true);
}

void DownloaderDialog::startDownload()
{
    QTreeWidgetItem* row = tree->currentItem();
    if (!row)
        return;
    const QString address = row->text(AddressColumn);
    const QString name = DownloadRules::fileName(address);
    if (name.isEmpty()) {
        showError(tr("Сайт предлагает словарь под недопустимым именем файла:\n%1\n"
                     "Скачивание отменено.").arg(address));
        return;
    }
    requestedName = name;
    requestedLanguage = row->text(LanguageColumn);
    fileReply = fileManager->get(request(QUrl(address)));
    limitSize(fileReply, DictionaryFiles::MaximumFileSize);
    setControlsEnabled(false);
}

void DownloaderDialog::finishDownload(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != fileReply)
        return;
    fileReply = nullptr;
    setControlsEnabled(true);

    if (reply->error() != QNetworkReply::NoError) {
        // The transfer time-out shows up as a cancelled (or, in newer Qt, timed-out) reply.
        const bool timedOut = reply->error() == QNetworkReply::OperationCanceledError
                              || reply->error() == QNetworkReply::TimeoutError;
        const QString reason = reply->property("tooLarge").toBool()
                                   ? tr("файл больше %1 МБ, это не словарь").arg(DictionaryFiles::MaximumFileSize / (1024 * 1024))
                               : timedOut ? tr("сервер не отвечает")
                                          : DownloadRules::networkErrorText(reply->error());
        showError(tr("Не удалось скачать словарь «%1»: %2.").arg(requestedName, reason));
        return;
    }
    const QByteArray body = reply->readAll();
    if (body.isEmpty()) {
        showError(tr("Не удалось скачать словарь «%1»: сервер прислал пустой файл.").arg(requestedName));
        return;
    }
    if (!DownloadRules::isDictionary(body)) {
        showError(tr("Не удалось скачать словарь «%1»: полученный файл не является словарём.")
                      .arg(requestedName));
        return;
    }

    const QString path = dictionariesPath + requestedName;
    QDir().mkpath(dictionariesPath);
    QFile existing(path);
    const bool exists = QFileInfo::exists(path);
    // The same bytes again need no writing, and the learner keeps the statuses.
    const bool same = exists && existing.open(QIODevice::ReadOnly)
                      && existing.size() == body.size() && existing.readAll() == body;
    existing.close();
    if (exists && !same) {
        QMessageBox ask(QMessageBox::Question, tr("Вопрос"),
                        tr("В папке словарей уже есть словарь «%1», и он отличается от скачанного. "
                           "Заменить его? Статусы слов заменённого словаря будут сброшены.")
                            .arg(requestedName),
                        QMessageBox::Yes | QMessageBox::No, this);
        ask.setTextFormat(Qt::PlainText);
        ask.setDefaultButton(QMessageBox::No);
        ask.setEscapeButton(QMessageBox::No);
        if (ask.exec() != QMessageBox::Yes)
            return;
    }
    if (!same) {
        // The words and statuses go together: the old statuses file would
        // give its values to the new words by position.
        QList<Unit> units;
        DictionaryFormat::readWholeUnits(body, &units);
        const QString error = DictionaryFiles::writePair(path, units, {Statuses::StatusFileMarker});
        if (!error.isEmpty()) {
            showError(error);
            return;
        }
        if (exists)
            replaced.append(path);
    }
    // The list says which language the words are in; the dictionary keeps it.
    // A list that does not say leaves it to be told from the words.
    if (!requestedLanguage.isEmpty() && (!same || DictionaryLanguage::read(path).kind != DictionaryLanguage::Reading::Whole))
        DictionaryLanguage::write(path, requestedLanguage);
    downloaded = path;

    QMessageBox question(QMessageBox::Information, tr("Информация"),
                         tr("Словарь был успешно загружен! Приступить к обучению?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::NoButton);
    if (question.exec() == QMessageBox::Yes)
        accept();
}

void DownloaderDialog::setControlsEnabled(bool enabled)
{
    tree->setEnabled(enabled);
    button->setEnabled(enabled);
}

void DownloaderDialog::showError(const QString& text)
{
    // The text carries names from the site, so it is never read as mark-up.
    QMessageBox box(QMessageBox::Critical, tr("Ошибка"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void DownloaderDialog::abandonReplies()
{
    // Forgotten first: abort() reports the reply finished at once, and the
    // handlers then drop it as stale.
    const QList<QNetworkReply*> pending = {listReply.data(), fileReply.data()};
    listReply = nullptr;
    fileReply = nullptr;
    for (QNetworkReply* reply : pending)
        if (reply)
            reply->abort();
}
