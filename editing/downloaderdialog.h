#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QNetworkAccessManager;
class QNetworkReply;
class QLabel;
class QPushButton;
class QTreeWidget;

/*!
    Offers the dictionaries listed on the dictionary site, downloads the
    chosen one into the dictionaries folder and offers to start learning it.
    exec() returns 1 when the user agreed; downloadedFile() then names the
    stored file.
*/
class DownloaderDialog : public QDialog
{
    Q_OBJECT

public:
    /*! Downloads into the folder \a dictionariesPath (ending in a separator). */
    explicit DownloaderDialog(const QString& dictionariesPath, QWidget* parent = nullptr);

    /*! Full path of the dictionary stored last; empty before the first download. */
    QString downloadedFile() const;

    /*! Dictionaries of the user's that downloads of the last opening replaced
        (the user agreed to each); their statuses were reset. */
    QStringList replacedFiles() const;

    /*! Column that holds each row's download address (outside the shown ones). */
    static constexpr int AddressColumn = 100;
    static constexpr int LanguageColumn = 101;

    QTreeWidget* table() const { return tree; }
    /*! Why the table is empty, when it is; hidden otherwise. */
    QLabel* status() const { return statusLabel; }
    QPushButton* downloadButton() const { return button; }

public slots:
    int exec() override;

private slots:
    void getFileList();
    void setFileList(QNetworkReply* reply);
    void startDownload();
    void finishDownload(QNetworkReply* reply);

private:
    QString dictionariesPath;
    void setControlsEnabled(bool enabled);
    void showError(const QString& text);
    void abandonReplies();
    void limitSize(QNetworkReply* reply, qint64 limit);

    static constexpr qint64 MaximumListSize = 16 * 1024 * 1024;

    QString downloaded;
    QStringList replaced;
    QNetworkAccessManager* listManager;
    QNetworkAccessManager* fileManager;
    QTreeWidget* tree;
    QPushButton* button;
    QLabel* statusLabel;

    // The replies this opening waits for; anything else that arrives belongs
    // to an earlier opening and is dropped.
    QPointer<QNetworkReply> listReply;
    QPointer<QNetworkReply> fileReply;
    QString requestedName;
    QString requestedLanguage;
};
