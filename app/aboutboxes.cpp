#include "app/aboutboxes.h"

#include <QMessageBox>

#include "app/htmlformat.h"
#include "config/services.h"

QMessageBox* AboutBoxes::createAbout(QWidget* parent)
{
    using namespace HtmlFormat;
    auto* box = new QMessageBox(parent);
    box->setIconPixmap(QPixmap(QStringLiteral(":Vocabrium.png")));
    box->setWindowTitle(tr("О программе"));
    box->setTextFormat(Qt::RichText);
    box->setText(htmlParagraph(
        htmlColored(QStringLiteral("<b>Vocabrium 1.2</b>"), QStringLiteral("darkslategray"))
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Программа для изучения иностранных слов"), QStringLiteral("darkred"))
            + QStringLiteral("<br>") + tr("Разработчики: команда Vocabrium")
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Значки:"), QStringLiteral("darkred")) + QLatin1Char(' ')
            + htmlLink(QStringLiteral("Tango Desktop Project"), QStringLiteral("http://tango.freedesktop.org"))
            + QStringLiteral("<br>") + htmlColored(tr("Произношение и транскрипции:"), QStringLiteral("darkred"))
            + QStringLiteral(" eSpeak NG<br>")
            + htmlColored(tr("Морфология:"), QStringLiteral("darkred")) + QStringLiteral(" Hunspell"),
        QStringLiteral("center")));
    return box;
}

QMessageBox* AboutBoxes::createSupport(QWidget* parent)
{
    using namespace HtmlFormat;
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(tr("Поддержать проект"));
    box->setTextFormat(Qt::RichText);
    box->setText(htmlParagraph(
        tr("Vocabrium развивается силами добровольцев.") + QStringLiteral("<br>")
            + tr("Лучшая поддержка — новые словари, переводы и сообщения об ошибках:")
            + QStringLiteral("<br>") + htmlLink(tr("список словарей"), Services::dictionaryListUrl().toString())
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Пожертвования:"), QStringLiteral("darkred")) + QLatin1Char(' ')
            + tr("проект их не принимает — расскажите о нём друзьям."),
        QStringLiteral("center")));
    return box;
}
