#include "app/helpdialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "model/boundedfile.h"

namespace {

// The page and every local file it names (images, linked pages) are read
// through the bounded reader: a link to a FIFO or a device must not hang the
// window, nor a huge file fill the memory.
class BoundedBrowser : public QTextBrowser
{
public:
    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        QByteArray data;
        QString problem;
        if (!BoundedFile::read(url.toLocalFile(), &data, &problem))
            return QVariant();
        if (type != QTextDocument::HtmlResource && type != QTextDocument::MarkdownResource)
            return data;
        QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
        return decoder.isValid() ? QString(decoder(data)) : QString::fromUtf8(data);
    }
};

} // namespace

HelpDialog::HelpDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Справка"));
    browser = new BoundedBrowser;
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
    QByteArray data;
    QString problem;
    if (!BoundedFile::read(file, &data, &problem))
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
