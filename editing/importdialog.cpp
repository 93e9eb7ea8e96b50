#include "importdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "interchange/wordfiles.h"

namespace {

constexpr int previewRows = 5;

} // namespace

ImportDialog::ImportDialog(const QString& fileName, const QByteArray& data, const WordTable& table, QWidget* parent)
    : QDialog(parent)
    , fileName(fileName)
    , data(data)
    , current(table)
    , words(new QComboBox)
    , translations(new QComboBox)
    , preview(new QTableWidget(0, 2))
    , problem(new QLabel)
{
    setWindowTitle(tr("Импорт слов"));
    words->setObjectName(QStringLiteral("wordColumn"));
    translations->setObjectName(QStringLiteral("translationColumn"));
    // A file may have a hundred thousand columns: measuring every name for
    // the boxes' width would freeze the window for seconds.
    for (QComboBox* box : {words, translations}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(24);
    }
    preview->setObjectName(QStringLiteral("preview"));
    preview->setHorizontalHeaderLabels({tr("Слово"), tr("Перевод")});
    preview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    problem->setWordWrap(true);
    problem->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* form = new QFormLayout;
    if (!table.separator.isNull()) {
        separators = new QComboBox;
        separators->setObjectName(QStringLiteral("separator"));
        separators->addItem(tr("Табуляция"), QChar(QLatin1Char('\t')));
        separators->addItem(tr("Точка с запятой"), QChar(QLatin1Char(';')));
        separators->addItem(tr("Запятая"), QChar(QLatin1Char(',')));
        separators->setCurrentIndex(qMax(0, separators->findData(table.separator)));
        form->addRow(tr("Разделитель полей:"), separators);
    }
    if (table.headerUncertain) {
        header = new QCheckBox(tr("Первая строка — названия столбцов"));
        header->setObjectName(QStringLiteral("header"));
        header->setChecked(table.headerTaken);
        form->addRow(header);
    }
    form->addRow(tr("Слово:"), words);
    form->addRow(tr("Перевод:"), translations);
    fillColumns();
    updatePreview();

    if (separators)
        connect(separators, &QComboBox::currentIndexChanged, this, &ImportDialog::reread);
    if (header)
        connect(header, &QCheckBox::toggled, this, &ImportDialog::reread);
    connect(words, &QComboBox::currentIndexChanged, this, &ImportDialog::updatePreview);
    connect(translations, &QComboBox::currentIndexChanged, this, &ImportDialog::updatePreview);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    okButton = buttons->button(QDialogButtonBox::Ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Первые слова:")));
    layout->addWidget(preview);
    layout->addWidget(problem);
    layout->addWidget(buttons);
}

int ImportDialog::wordColumn() const
{
    return words->currentData().toInt();
}

int ImportDialog::translationColumn() const
{
    return translations->currentData().toInt();
}

void ImportDialog::reread()
{
    WordFiles::ReadOptions options;
    if (separators)
        options.separator = separators->currentData().toChar();
    if (header)
        options.header = header->isChecked() ? DelimitedText::Header::Yes : DelimitedText::Header::No;
    WordTable table;
    QString error;
    if (!WordFiles::parse(fileName, data, &table, &error, options)) {
        problem->setText(error);
        current = WordTable();
        current.separator = options.separator;
    } else {
        problem->clear();
        current = table;
    }
    fillColumns();
    updatePreview();
}

void ImportDialog::fillColumns()
{
    const int word = qMax(0, words->currentIndex());
    const int translation = translations->count() > 0 ? translations->currentIndex() : 1;
    const QSignalBlocker blockWords(words);
    const QSignalBlocker blockTranslations(translations);
    words->clear();
    translations->clear();
    for (qsizetype i = 0; i < current.columns.size(); ++i) {
        const QString name = current.columns.at(i).trimmed();
        const QString item = name.isEmpty() ? tr("Столбец %1").arg(i + 1) : tr("%1 (столбец %2)").arg(name).arg(i + 1);
        words->addItem(item, int(i));
        translations->addItem(item, int(i));
    }
    // A one-column list has no translation column to pick; the entries
    // come without translations.
    if (current.columns.size() < 2)
        translations->addItem(tr("(нет перевода)"), int(current.columns.size()));
    words->setCurrentIndex(qMin(word, int(words->count()) - 1));
    translations->setCurrentIndex(qMin(qMax(translation, 0), int(translations->count()) - 1));
}

void ImportDialog::updatePreview()
{
    const QList<Unit> units = current.units(wordColumn(), translationColumn());
    preview->setRowCount(int(qMin<qsizetype>(units.size(), previewRows)));
    for (int row = 0; row < preview->rowCount(); ++row) {
        preview->setItem(row, 0, new QTableWidgetItem(units.at(row).word));
        preview->setItem(row, 1, new QTableWidgetItem(units.at(row).translation));
    }
    if (okButton)
        okButton->setEnabled(!units.isEmpty());
}
