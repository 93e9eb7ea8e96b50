#include "importexport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

#include <algorithm>

#include "config/settings.h"
#include "editing/importdialog.h"
#include "interchange/wordfiles.h"
#include "languages/dictionarylanguage.h"
#include "model/boundedfile.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/statuses.h"
#include "model/units.h"
#include "session/workspace.h"
#include "translation/translator.h"

namespace {

const QString dicSuffix = QStringLiteral(".dic");

// What a file holds (its name, a field value in an error) must show as
// text: a message box would take "<b>" at the start for markup.
void showPlain(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QCoreApplication::translate("ImportExport", "Ошибка"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

ImportExport::ImportExport(Workspace* workspace, QWidget* window)
    : QObject(window)
    , workspace(workspace)
    , window(window)
{
}

QString ImportExport::importFile()
{
    const QString source = QFileDialog::getOpenFileName(
        window, tr("Импорт слов"), QDir::homePath(),
        tr("Списки слов (*.tsv *.csv *.txt *.kvtml *.xml *.apkg);;Колоды Anki (*.apkg);;Все файлы (*)"));
    return source.isEmpty() ? QString() : importFrom(source);
}

QString ImportExport::importFrom(const QString& source)
{
    const QString shownName = QFileInfo(source).fileName();
    QByteArray data;
    QString problem;
    QString error;
    WordTable table;
    // The learner may pick a FIFO, a device or a huge file by mistake.
    if (!BoundedFile::read(source, &data, &problem)) {
        error = tr("Не удалось открыть файл: %1.").arg(problem);
    } else {
        if (WordFiles::parse(shownName, data, &table, &error)) {
            ImportDialog dialog(shownName, data, table, window);
            if (dialog.exec() != QDialog::Accepted)
                return QString();
            return write(source, dialog.table(), dialog.wordColumn(), dialog.translationColumn());
        }
    }
    showPlain(window, QMessageBox::Critical, tr("Не удалось прочитать файл %1.\n%2").arg(shownName, error));
    return QString();
}

QString ImportExport::write(const QString& source, const WordTable& table, int word, int translation)
{
    const QList<Unit> units = table.units(word, translation);
    if (units.isEmpty()) {
        QMessageBox::critical(window, tr("Ошибка"), tr("В выбранном столбце нет ни одного слова."));
        return QString();
    }
    // Before a name is chosen, so that nothing is replaced by a dictionary
    // the program would refuse to open.
    const QString tooLarge = DictionaryFormat::sizeProblem(units);
    if (!tooLarge.isEmpty()) {
        QMessageBox::critical(window, tr("Ошибка"),
                              tr("Слова из файла %1 не импортированы: %2.").arg(QFileInfo(source).fileName(), tooLarge));
        return QString();
    }
    // A KHangMan word list and the like hold words alone.
    if (std::all_of(units.cbegin(), units.cend(), [](const Unit& unit) { return unit.translation.isEmpty(); })
        && QMessageBox::question(window, tr("Вопрос"),
                                 tr("В файле нет переводов: у всех %1 слов перевод будет пустым. Импортировать?")
                                     .arg(units.size()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return QString();
    const QString target = chooseTarget(QFileInfo(source).completeBaseName());
    if (target.isEmpty())
        return QString();
    QDir().mkpath(workspace->settings.dictionariesPath);
    // Written with fresh statuses as one pair: the old statuses of a
    // dictionary of this name would pair with the wrong words.
    QString error = DictionaryFiles::writePair(target, units, {Statuses::StatusFileMarker});
    if (!error.isEmpty()) {
        QMessageBox::critical(window, tr("Ошибка"), error);
        return QString();
    }
    // A schedule and a language of a dictionary that had this name would
    // pair with the wrong words; the statuses were written fresh above.
    const QString base = target.chopped(dicSuffix.size());
    for (const char* suffix : {".rev", ".lang"})
        QFile::remove(base + QLatin1String(suffix));
    // A file that names its languages (KVTML) says what the words are in;
    // the others are told from the words when the dictionary opens.
    const QString language = DictionaryLanguage::fromName(table.columns.value(word));
    if (!language.isEmpty())
        DictionaryLanguage::write(target, language);
    if (WordFiles::writeRecordings(target, table, word, &error) < 0)
        showPlain(window, QMessageBox::Warning, tr("Словарь записан без произношения.\n%1").arg(error));
    return target;
}

QString ImportExport::chooseTarget(const QString& suggestedName)
{
    QString name = suggestedName;
    for (;;) {
        bool ok = false;
        name = QInputDialog::getText(window, tr("Импорт слов"), tr("Имя нового словаря:"), QLineEdit::Normal,
                                     name, &ok)
                   .trimmed();
        if (!ok)
            return QString();
        if (name.endsWith(dicSuffix, Qt::CaseInsensitive))
            name.chop(dicSuffix.size());
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name.startsWith(QLatin1Char('.'))) {
            QMessageBox::critical(window, tr("Ошибка"), tr("Недопустимое имя словаря: «%1».").arg(name));
            continue;
        }
        const QString path = workspace->settings.dictionariesPath + name + dicSuffix;
        // The open dictionary is saved when another one opens, which would
        // write its old words over the imported ones.
        if (QFileInfo(path) == QFileInfo(workspace->words.units.fileName())) {
            QMessageBox::critical(window, tr("Ошибка"),
                                  tr("Словарь «%1» сейчас открыт. Выберите другое имя.").arg(name));
            continue;
        }
        if (QFile::exists(path)
            && QMessageBox::question(window, tr("Вопрос"),
                                     tr("Словарь «%1» уже существует. Заменить его?").arg(name),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                   != QMessageBox::Yes)
            continue;
        return path;
    }
}

void ImportExport::exportDictionary()
{
    const QString kvtml = tr("KVTML: KWordQuiz, Parley (*.kvtml)");
    const QString csv = tr("Таблица CSV (*.csv)");
    const QString tsv = tr("Текст с табуляцией: Anki (*.tsv)");
    QString filter = kvtml;
    QString path = QFileDialog::getSaveFileName(
        window, tr("Экспорт словаря"),
        QDir::homePath() + QLatin1Char('/') + QFileInfo(workspace->words.units.fileName()).completeBaseName() + QStringLiteral(".kvtml"),
        kvtml + QStringLiteral(";;") + csv + QStringLiteral(";;") + tsv, &filter);
    if (path.isEmpty())
        return;
    WordFiles::Format format;
    if (!WordFiles::exportFormat(path, &format))
        path += filter == csv ? QStringLiteral(".csv") : filter == tsv ? QStringLiteral(".tsv") : QStringLiteral(".kvtml");
    QChar separator = QLatin1Char(',');
    if (WordFiles::exportFormat(path, &format) && format == WordFiles::Format::Csv) {
        // Spreadsheets in a Russian locale expect semicolons, the KDE
        // trainers tabs; the learner knows where the file goes.
        const QStringList names{tr("Запятая"), tr("Точка с запятой"), tr("Табуляция")};
        const QChar chars[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
        bool ok = false;
        const QString chosen = QInputDialog::getItem(window, tr("Экспорт словаря"), tr("Разделитель полей:"), names, 0,
                                                     false, &ok);
        if (!ok)
            return;
        separator = chars[qMax(0, int(names.indexOf(chosen)))];
    }
    exportTo(path, separator);
}

bool ImportExport::exportTo(const QString& path, QChar csvSeparator)
{
    const auto table = languages();
    auto language = [&table](const QString& code) {
        const QString name = languageName(table, code);
        return KvtmlFormat::Language{name.isEmpty() ? code : name, code};
    };
    const QList<Unit> units = workspace->words.units.unitList();
    QString error;
    if (!WordFiles::write(path, units, language(workspace->settings.learningLanguage), language(workspace->settings.interfaceLanguage), &error,
                          csvSeparator)) {
        QMessageBox::critical(window, tr("Ошибка"), error);
        return false;
    }
    QMessageBox::information(window, tr("Информация"),
                             tr("Слов записано: %1.\n%2").arg(units.size()).arg(QDir::toNativeSeparators(path)));
    return true;
}
