#include "app/windowboxes.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/aboutboxes.h"
#include "app/progressbox.h"
#include "app/statustexts.h"
#include "config/settings.h"
#include "languages/dictionarylanguage.h"
#include "learning/learningrun.h"
#include "translation/translator.h"

WindowBoxes::WindowBoxes(QWidget* window, Settings& settings, LearningRun* run)
    : window(window)
    , settings(settings)
    , run(run)
    , aboutBox(AboutBoxes::createAbout(window))
    , supportBox(AboutBoxes::createSupport(window))
{
}

void WindowBoxes::showError(const QString& text)
{
    // File names and reasons come from the disk; never read them as mark-up.
    QMessageBox box(QMessageBox::Critical, tr("Ошибка"), text, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void WindowBoxes::congratulate()
{
    QMessageBox box(QMessageBox::Information, tr("Поздравляю!"), StatusTexts::congratulation(run->figures()),
                    QMessageBox::Ok, window);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void WindowBoxes::showAbout()
{
    aboutBox->exec();
}

void WindowBoxes::showSupport()
{
    supportBox->exec();
}

void WindowBoxes::sayNothingDue()
{
    QMessageBox::information(window, tr("Информация"), tr("Сегодня повторять нечего."));
}

void WindowBoxes::sayNoHelp(const QString& file)
{
    QMessageBox::critical(window, tr("Ошибка"),
                          tr("Справка не открыта: файла %1 нет или его нельзя прочитать.")
                              .arg(QDir::toNativeSeparators(file)));
}

bool WindowBoxes::closeDespite(const QStringList& errors)
{
    QMessageBox box(QMessageBox::Critical, tr("Ошибка"),
                    errors.join(QLatin1Char('\n')) + QStringLiteral("\n\n")
                        + tr("Если закрыть программу сейчас, несохранённые изменения пропадут."),
                    QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    QPushButton* quit = box.addButton(tr("Закрыть без сохранения"), QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(stay);
    box.setEscapeButton(static_cast<QAbstractButton*>(stay));
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(quit);
}

bool WindowBoxes::confirmClear(bool learning)
{
    const QString text = learning
        ? tr("Все изучаемые в данный момент слова получат статус \"Неизученное\", "
             "вы действительно хотите продолжить?")
        : tr("Все слова в словаре получат статус \"Неизученное\", "
             "вы действительно хотите продолжить?");
    QMessageBox box(QMessageBox::Question, tr("Вопрос"), text,
                    QMessageBox::Yes | QMessageBox::No, window);
    // Clearing every status takes a deliberate choice: Return and Escape say No.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void WindowBoxes::showProgress()
{
    forever {
        run->syncSchedule(QDate::currentDate());
        ProgressBox box(StatusTexts::progress(settings.learnedCount, settings.learningTime, settings.mistakesCount, settings.reviewedCount),
                        run->schedule(), QDate::currentDate(), window);
        if (box.exec() != QMessageBox::Reset)
            return;
        const auto answer = QMessageBox::question(
            window, tr("Вопрос"), tr("Вы уверены что хотите очистить свои достижения?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes)
            run->resetTotals();
    }
}

std::optional<double> WindowBoxes::askRetention()
{
    bool ok = false;
    const int percent = QInputDialog::getInt(
        window, tr("Повторение"),
        tr("Какую долю выученных слов вы хотите помнить к дню повторения, %?\n"
           "Чем больше доля, тем чаще повторения."),
        int(qRound(settings.reviewRetention * 100)), 70, 99, 1, &ok);
    if (!ok)
        return std::nullopt;
    return percent / 100.0;
}

std::optional<QString> WindowBoxes::askDictionaryLanguage(const QString& dicPath, const QString& proposed)
{
    const QList<QPair<QString, QString>> table = languages();
    QStringList names;
    for (const QString& code : DictionaryLanguage::supported())
        names.append(languageName(table, code));
    bool ok = false;
    const QString name = QInputDialog::getItem(
        window, tr("Язык словаря"),
        tr("На каком языке слова словаря «%1»?").arg(QFileInfo(dicPath).completeBaseName()), names,
        int(qMax<qsizetype>(0, DictionaryLanguage::supported().indexOf(proposed))), false, &ok);
    const qsizetype chosen = names.indexOf(name);
    if (!ok || chosen < 0)
        return std::nullopt;
    return DictionaryLanguage::supported().at(chosen);
}
