#include "app/helpdialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpDialog::HelpDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Справка"));
    browser = new QTextBrowser;
    // The browser opens file and resource links itself and hands every
    // other address to the system.
    browser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(720, 600);
}

bool HelpDialog::showFile(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        return false;
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (browser->source().adjusted(QUrl::RemoveFragment) == url)
        browser->reload();
    else
        browser->setSource(url);
    return true;
}

bool HelpDialog::showIn(QWidget* window, const QString& file)
{
    auto* dialog = window->findChild<HelpDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new HelpDialog(window);
    if (!dialog->showFile(file))
        return false;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}
