#include "importexport.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringListModel>

#include "app/settings.h"
#include "interchange/wordfiles.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/statuses.h"
#include "model/units.h"
#include "translation/translator.h"

namespace {

const QString dicSuffix = QStringLiteral(".dic");

} // namespace

ImportExport::ImportExport(QWidget* window)
    : QObject(window)
    , window(window)
{
}

QString ImportExport::importFile()
{
    const QString source = QFileDialog::getOpenFileName(
        window, tr("Импорт слов"), QDir::homePath(),
        tr("Списки слов (*.tsv *.csv *.txt *.kvtml *.xml);;Все файлы (*)"));
    return source.isEmpty() ? QString() : importFrom(source);
}

QString ImportExport::importFrom(const QString& source)
{
    WordTable table;
    QString error;
    if (!WordFiles::read(source, &table, &error)) {
        QMessageBox::critical(window, tr("Ошибка"),
                              tr("Не удалось прочитать файл %1.\n%2").arg(QFileInfo(source).fileName(), error));
        return QString();
    }
    int word = 0;
    int translation = 1;
    if (table.columns.size() > 2 && !chooseColumns(table, &word, &translation))
        return QString();
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
    const QString target = chooseTarget(QFileInfo(source).completeBaseName());
    if (target.isEmpty())
        return QString();
    QDir().mkpath(dictionariesPath);
    // Written with fresh statuses as one pair: the old statuses of a
    // dictionary of this name would pair with the wrong words.
    error = DictionaryFiles::writePair(target, units, {Statuses::StatusFileMarker});
    if (!error.isEmpty()) {
        QMessageBox::critical(window, tr("Ошибка"), error);
        return QString();
    }
    return target;
}

bool ImportExport::chooseColumns(const WordTable& table, int* word, int* translation)
{
    QDialog dialog(window);
    dialog.setWindowTitle(tr("Импорт слов"));
    QStringList names;
    names.reserve(table.columns.size());
    for (qsizetype i = 0; i < table.columns.size(); ++i) {
        const QString name = table.columns.at(i).trimmed();
        names.append(name.isEmpty() ? tr("Столбец %1").arg(i + 1) : name);
    }
    // A file may have a hundred thousand columns: both boxes share one
    // model filled at once, and neither measures every name for its width.
    auto* model = new QStringListModel(names, &dialog);
    auto* words = new QComboBox;
    auto* translations = new QComboBox;
    for (QComboBox* box : {words, translations}) {
        box->setModel(model);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(24);
    }
    words->setCurrentIndex(0);
    translations->setCurrentIndex(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(tr("Слово:"), words);
    layout->addRow(tr("Перевод:"), translations);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *word = words->currentIndex();
    *translation = translations->currentIndex();
    return true;
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
        const QString path = dictionariesPath + name + dicSuffix;
        // The open dictionary is saved when another one opens, which would
        // write its old words over the imported ones.
        if (QFileInfo(path) == QFileInfo(currentFileName + dicSuffix)) {
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
    const QString tsv = tr("Текст с табуляцией (*.tsv)");
    QString filter = kvtml;
    QString path = QFileDialog::getSaveFileName(
        window, tr("Экспорт словаря"),
        QDir::homePath() + QLatin1Char('/') + QFileInfo(currentFileName).fileName() + QStringLiteral(".kvtml"),
        kvtml + QStringLiteral(";;") + csv + QStringLiteral(";;") + tsv, &filter);
    if (path.isEmpty())
        return;
    WordFiles::Format format;
    if (!WordFiles::exportFormat(path, &format))
        path += filter == csv ? QStringLiteral(".csv") : filter == tsv ? QStringLiteral(".tsv") : QStringLiteral(".kvtml");
    exportTo(path);
}

bool ImportExport::exportTo(const QString& path)
{
    const auto table = languages();
    auto language = [&table](const QString& code) {
        const QString name = languageName(table, code);
        return KvtmlFormat::Language{name.isEmpty() ? code : name, code};
    };
    const QList<Unit> units = Units::instance(0)->unitList();
    QString error;
    if (!WordFiles::write(path, units, language(learningLanguage), language(interfaceLanguage), &error)) {
        QMessageBox::critical(window, tr("Ошибка"), error);
        return false;
    }
    QMessageBox::information(window, tr("Информация"),
                             tr("Слов записано: %1.\n%2").arg(units.size()).arg(QDir::toNativeSeparators(path)));
    return true;
}
