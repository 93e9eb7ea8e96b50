#include "editordialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "config/settings.h"
#include "editing/unitdialog.h"
#include "editing/unitsmakerdialog.h"
#include "model/dictionaryfiles.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/wordcount.h"
#include "session/workspace.h"
#include "speech/speaker.h"
#include "speech/transcriptions.h"

namespace {

// The order in which a draw from the remaining positions, each removed once
// drawn, takes them: position r of the remaining ones is found in a Fenwick
// tree of the positions still left, so a large dictionary costs n log n
// instead of n² element moves, with the same order as the plain list would give.
QList<int> drawnOrder(int n)
{
    QList<int> tree(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
        tree[i] += 1;
        const int parent = i + (i & -i);
        if (parent <= n)
            tree[parent] += tree[i];
    }
    int highBit = 1;
    while (highBit * 2 <= n)
        highBit *= 2;

    QList<int> order;
    order.reserve(n);
    for (int remaining = n; remaining > 0; --remaining) {
        int rank = Random::next() % remaining;
        int index = 0;
        for (int step = highBit; step > 0; step /= 2) {
            if (index + step <= n && tree[index + step] <= rank) {
                index += step;
                rank -= tree[index];
            }
        }
        order.append(index);
        for (int i = index + 1; i <= n; i += i & -i)
            tree[i] -= 1;
    }
    return order;
}

} // namespace

EditorDialog::EditorDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , settings(&workspace->settings)
    , dictionary(&workspace->words.units)
    , statuses(&workspace->words.statuses)
    , transcriptions(&workspace->transcriptions)
    , speaker(new Speaker(dictionary, settings, this))
{
    unitsMakerDialog = new UnitsMakerDialog(workspace, this);
    unitDialog = new UnitDialog(workspace, this);

    findAction = new QAction(this);
    findAction->setShortcut(QKeySequence::Find);
    addAction(findAction);
    addWordAction = new QAction(tr("Слово"), this);
    addFromTextAction = new QAction(tr("Из текста"), this);
    selectUnlearnedAction = new QAction(tr("Неизученные слова"), this);
    selectLearningAction = new QAction(tr("Изучаемые слова"), this);
    selectLearnedAction = new QAction(tr("Изученные слова"), this);
    selectUntranslatedAction = new QAction(tr("Все слова без перевода"), this);
    selectFromUnitsAction = new QAction(tr("Все слова из другого словаря"), this);
    selectAllAction = new QAction(tr("Все слова"), this);
    markUnlearnedAction = new QAction(tr("Неизученное"), this);
    markLearningAction = new QAction(tr("Изучаемое"), this);
    markLearnedAction = new QAction(tr("Изученное"), this);
    abcOrderAction = new QAction(tr("По алфавиту"), this);
    byStatusOrderAction = new QAction(tr("По статусу"), this);
    randomOrderAction = new QAction(tr("Случайно"), this);

    addButton = new QPushButton(tr("Добавить"));
    editButton = new QPushButton(tr("Изменить"));
    removeButton = new QPushButton(tr("Удалить"));
    selectButton = new QPushButton(tr("Выделить"));
    markButton = new QPushButton(tr("Пометить как"));
    orderButton = new QPushButton(tr("Упорядочить"));
    closeButton = new QPushButton(tr("Закрыть"));
    findButton = new QPushButton(tr("Найти"));
    // No default button: Return belongs to the find field and to the list,
    // which opens the selected words for editing.
    for (QPushButton* button : {addButton, editButton, removeButton, selectButton, markButton,
                                orderButton, closeButton, findButton})
        button->setAutoDefault(false);

    list = new QListWidget;
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every row has the same height; the view then lays out a large
    // dictionary without measuring each row.
    list->setUniformItemSizes(true);
    findEdit = new QLineEdit;
    countLabel = new QLabel;
    countLabel->setTextFormat(Qt::PlainText);
    optionsBox = new QGroupBox;
    translationBox = new QCheckBox(tr("Перевод"));
    transcriptionBox = new QCheckBox(tr("Транскрипция"));

    // Before the connections, so that setting the boxes does not build the list.
    readSettings();

    connect(removeButton, &QPushButton::clicked, this, &EditorDialog::remove);
    connect(editButton, &QPushButton::clicked, this, &EditorDialog::edit);
    connect(list, &QListWidget::itemChanged, this, &EditorDialog::saveStatus);
    connect(findButton, &QPushButton::clicked, this, &EditorDialog::find);
    connect(findEdit, &QLineEdit::returnPressed, this, &EditorDialog::find);
    connect(list, &QListWidget::activated, this, &EditorDialog::edit);
    // The row under the mouse is spoken as it is pressed. The press reaches
    // the list's viewport, not the list, so the view's signal is used.
    connect(list, &QListWidget::itemPressed, this, &EditorDialog::speak);
    connect(closeButton, &QPushButton::clicked, this, &EditorDialog::accept);
    connect(translationBox, &QCheckBox::toggled, this, &EditorDialog::updateList);
    connect(transcriptionBox, &QCheckBox::toggled, this, &EditorDialog::updateList);
    connect(this, &QDialog::finished, this, &EditorDialog::writeSettings);
    connect(unitsMakerDialog, &QDialog::accepted, this, &EditorDialog::updateList);
    connect(unitsMakerDialog, &QDialog::accepted, this, &EditorDialog::changesAccepted);
    connect(unitDialog, &QDialog::accepted, this, &EditorDialog::changesAccepted);
    connect(findAction, &QAction::triggered, findEdit, [this] {
        findEdit->setFocus();
        findEdit->selectAll();
    });
    connect(addWordAction, &QAction::triggered, this, &EditorDialog::add);
    connect(addFromTextAction, &QAction::triggered, unitsMakerDialog, &UnitsMakerDialog::exec);
    connect(selectUnlearnedAction, &QAction::triggered, this, &EditorDialog::selectUnlearned);
    connect(selectLearningAction, &QAction::triggered, this, &EditorDialog::selectLearning);
    connect(selectLearnedAction, &QAction::triggered, this, &EditorDialog::selectLearned);
    connect(selectUntranslatedAction, &QAction::triggered, this, &EditorDialog::selectUntranslated);
    connect(selectFromUnitsAction, &QAction::triggered, this, &EditorDialog::selectFromUnits);
    connect(selectAllAction, &QAction::triggered, list, &QListWidget::selectAll);
    connect(markUnlearnedAction, &QAction::triggered, this, &EditorDialog::markUnlearned);
    connect(markLearningAction, &QAction::triggered, this, &EditorDialog::markLearning);
    connect(markLearnedAction, &QAction::triggered, this, &EditorDialog::markLearned);
    connect(abcOrderAction, &QAction::triggered, this, &EditorDialog::abcOrder);
    connect(byStatusOrderAction, &QAction::triggered, this, &EditorDialog::byStatusOrder);
    connect(randomOrderAction, &QAction::triggered, this, &EditorDialog::randomOrder);

    auto* findLayout = new QHBoxLayout;
    findLayout->addWidget(findEdit);
    findLayout->addWidget(findButton);
    auto* leftLayout = new QVBoxLayout;
    leftLayout->addWidget(list);
    leftLayout->addLayout(findLayout);
    auto* optionsLayout = new QVBoxLayout(optionsBox);
    optionsLayout->addWidget(countLabel);
    optionsLayout->addWidget(translationBox);
    optionsLayout->addWidget(transcriptionBox);
    auto* rightLayout = new QVBoxLayout;
    for (QPushButton* button :
         {addButton, editButton, removeButton, selectButton, markButton, orderButton, closeButton})
        rightLayout->addWidget(button);
    rightLayout->addWidget(optionsBox);
    rightLayout->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(leftLayout);
    layout->addLayout(rightLayout);
    setWindowTitle(tr("Редактор словаря"));

    auto* addMenu = new QMenu(this);
    addMenu->addActions({addWordAction, addFromTextAction});
    addButton->setMenu(addMenu);
    auto* selectMenu = new QMenu(this);
    selectMenu->addActions({selectUnlearnedAction, selectLearningAction, selectLearnedAction,
                            selectUntranslatedAction, selectFromUnitsAction, selectAllAction});
    selectButton->setMenu(selectMenu);
    auto* markMenu = new QMenu(this);
    markMenu->addActions({markUnlearnedAction, markLearningAction, markLearnedAction});
    markButton->setMenu(markMenu);
    auto* orderMenu = new QMenu(this);
    orderMenu->addActions({abcOrderAction, byStatusOrderAction, randomOrderAction});
    orderButton->setMenu(orderMenu);
}

int EditorDialog::keyOfRow(int row) const
{
    return rowKeys.value(row, -1);
}

int EditorDialog::exec()
{
    // The stored size may come from a larger screen or a damaged settings
    // file; the buttons must stay on this screen.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(4000, 3000);
    setMinimumSize(sizeHint().boundedTo(QSize(480, 360)).boundedTo(available));
    // Wide enough for a word, its translation and its transcription side by side.
    resize(settings->edSize.expandedTo(minimumSize()).boundedTo(available));
    updateList();
    // Open where the work is: the first word not yet learned at the top.
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        if (item->checkState() == Qt::Unchecked) {
            list->scrollToItem(item, QAbstractItemView::PositionAtTop);
            break;
        }
    }
    const int result = QDialog::exec();
    settings->edSize = size();
    return result;
}

void EditorDialog::readSettings()
{
    translationBox->setChecked(settings->edTranslation);
    transcriptionBox->setChecked(settings->edTranscription);
}

void EditorDialog::writeSettings()
{
    settings->edTranslation = translationBox->isChecked();
    settings->edTranscription = transcriptionBox->isChecked();
}

void EditorDialog::updateList()
{
    countLabel->setText(tr("Слов: ") + QString::number(dictionary->count()));

    const bool showTranslation = translationBox->isChecked();
    const bool showTranscription = transcriptionBox->isChecked();
    rowKeys = dictionary->keys();
    const QList<Unit> units = dictionary->unitList();

    // Building the rows is no change of a status.
    const QSignalBlocker blocker(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (qsizetype i = 0; i < rowKeys.size(); ++i) {
        const int key = rowKeys.at(i);
        const Unit& unit = units.at(i);
        QString text = unit.word;
        if (showTranslation && !unit.translation.isEmpty())
            text += QStringLiteral(" - ") + unit.translation;
        if (showTranscription)
            text += QLatin1Char(' ') + transcriptions->lookup(unit.word);
        auto* item = new QListWidgetItem(text);
        if (statuses->isLearned(key)) {
            item->setCheckState(Qt::Checked);
        } else {
            item->setCheckState(Qt::Unchecked);
            if (statuses->isLearning(key))
                item->setBackground(Qt::gray);
        }
        list->addItem(item);
    }
    list->setUpdatesEnabled(true);
}

void EditorDialog::saveStatus(QListWidgetItem* item)
{
    // The item that changed, which need not be the current one: a click on a
    // check box of another row, or a change made by a program.
    const int key = keyOfRow(list->row(item));
    if (key < 0)
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    // Only a change of the tick is a change of status; any other change of
    // the item must not reset a word being learned.
    if (ticked == statuses->isLearned(key))
        return;
    statuses->setStatus(key, ticked ? Statuses::Learned : Statuses::Unlearned);
    const QSignalBlocker blocker(list);
    item->setData(Qt::BackgroundRole, QVariant());
}

void EditorDialog::speak(QListWidgetItem* item)
{
    const int key = keyOfRow(list->row(item));
    if (key >= 0)
        speaker->pronounce(key);
}

QList<int> EditorDialog::selectedKeys() const
{
    QList<int> rows;
    const QModelIndexList indexes = list->selectionModel()->selectedIndexes();
    rows.reserve(indexes.size());
    for (const QModelIndex& index : indexes)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QList<int> keys;
    keys.reserve(rows.size());
    for (int row : std::as_const(rows))
        keys.append(keyOfRow(row));
    return keys;
}

void EditorDialog::add()
{
    while (unitDialog->exec() != 0) {
    }
    updateList();
}

void EditorDialog::edit()
{
    const QList<int> keys = selectedKeys();
    for (int key : keys)
        unitDialog->exec(key);
    updateList();
}

void EditorDialog::remove()
{
    QList<int> keys = selectedKeys();
    if (keys.isEmpty())
        return;
    const QString text = keys.size() == 1
        ? tr("Вы уверены что хотите удалить это слово?")
        : tr("Вы уверены что хотите удалить ") + WordCount::text(keys.size()) + QLatin1Char('?');
    QMessageBox box(QMessageBox::Question, tr("Вопрос"), text, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setDefaultButton(QMessageBox::NoButton);
    if (box.exec() == QMessageBox::Yes) {
        // From the greatest key down, so each removal moves the fewest entries.
        std::sort(keys.begin(), keys.end(), std::greater<int>());
        for (int key : std::as_const(keys)) {
            dictionary->remove(key);
            statuses->remove(key);
        }
    }
    updateList();
}

void EditorDialog::selectRows(const std::function<bool(int key)>& wanted)
{
    list->clearSelection();
    // One selection of whole runs of rows instead of a signal per row.
    QItemSelection selection;
    QAbstractItemModel* model = list->model();
    int first = -1;
    const int rows = list->count();
    for (int row = 0; row <= rows; ++row) {
        const bool take = row < rows && wanted(keyOfRow(row));
        if (take && first < 0) {
            first = row;
        } else if (!take && first >= 0) {
            selection.select(model->index(first, 0), model->index(row - 1, 0));
            first = -1;
        }
    }
    list->selectionModel()->select(selection, QItemSelectionModel::Select);
    // Show what was selected, however far down it is.
    if (!selection.isEmpty())
        list->scrollTo(selection.first().topLeft(), QAbstractItemView::PositionAtTop);
}

void EditorDialog::selectUnlearned()
{
    selectRows([this](int key) { return statuses->status(key) == Statuses::Unlearned; });
}

void EditorDialog::selectLearning()
{
    selectRows([this](int key) { return statuses->isLearning(key); });
}

void EditorDialog::selectLearned()
{
    selectRows([this](int key) { return statuses->status(key) == Statuses::Learned; });
}

void EditorDialog::selectUntranslated()
{
    selectRows([this](int key) { return dictionary->translation(key).isEmpty(); });
}

void EditorDialog::selectFromUnits()
{
    list->clearSelection();
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Выберите словарь для сравнения"),
        QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries"), tr("Словари (*.dic)"));
    if (path.isEmpty())
        return;
    // The other dictionary is read on its own, not loaded into the open
    // one: the open dictionary keeps its keys, so every word keeps its
    // status and the lesson pools stay valid. The open dictionary's own
    // file is compared as the editor shows it, without saving anything.
    QSet<QString> words;
    const QList<Unit> units = DictionaryFiles::sameFile(path, dictionary->fileName())
                                  ? dictionary->unitList()
                                  : DictionaryFiles::read(path).units;
    words.reserve(units.size());
    for (const Unit& unit : units)
        words.insert(unit.word);
    selectRows([this, &words](int key) { return words.contains(dictionary->word(key)); });
}

void EditorDialog::markSelected(int status)
{
    const QList<int> keys = selectedKeys();
    for (int key : keys)
        statuses->setStatus(key, status);
    updateList();
}

void EditorDialog::markUnlearned()
{
    markSelected(Statuses::Unlearned);
}

void EditorDialog::markLearning()
{
    markSelected(Statuses::Initial);
}

void EditorDialog::markLearned()
{
    markSelected(Statuses::Learned);
}

void EditorDialog::reorder(const QList<int>& positions)
{
    const QList<int> keys = dictionary->keys();
    const QList<Unit> units = dictionary->unitList();
    QList<Unit> orderedUnits;
    QList<int> orderedStatuses;
    QList<int> previousKeys;
    orderedUnits.reserve(positions.size());
    orderedStatuses.reserve(positions.size());
    previousKeys.reserve(positions.size());
    for (int position : positions) {
        const int key = keys.at(position);
        orderedUnits.append(units.at(position));
        orderedStatuses.append(statuses->status(key));
        previousKeys.append(key);
    }
    // Words and statuses are renumbered together, so each word keeps its own.
    dictionary->setUnits(orderedUnits);
    statuses->setList(orderedStatuses);
    updateList();
    emit keysRenumbered(previousKeys);
}

void EditorDialog::abcOrder()
{
    const QList<Unit> units = dictionary->unitList();
    // Positions from last to first into a stable sort: of equal words the
    // later entry comes first.
    QList<int> positions(units.size());
    for (qsizetype i = 0; i < positions.size(); ++i)
        positions[i] = int(positions.size() - 1 - i);
    std::stable_sort(positions.begin(), positions.end(),
                     [&units](int a, int b) { return units.at(a).word < units.at(b).word; });
    reorder(positions);
}

void EditorDialog::byStatusOrder()
{
    const QList<int> keys = dictionary->keys();
    QList<int> values(keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i)
        values[i] = statuses->status(keys.at(i));
    QList<int> positions(keys.size());
    for (qsizetype i = 0; i < positions.size(); ++i)
        positions[i] = int(positions.size() - 1 - i);
    std::stable_sort(positions.begin(), positions.end(),
                     [&values](int a, int b) { return values.at(a) > values.at(b); });
    reorder(positions);
}

void EditorDialog::randomOrder()
{
    reorder(drawnOrder(dictionary->count()));
}

void EditorDialog::find()
{
    const QString text = findEdit->text();
    const int rows = list->count();
    if (text.isEmpty() || rows == 0)
        return;
    const int current = list->currentRow();
    const int start = current < 0 || current >= rows - 1 ? 0 : current + 1;
    // Walks every row once, wrapping round, so repeated finds step through
    // all matching words; nothing happens when no word matches.
    for (int i = 0; i < rows; ++i) {
        const int row = (start + i) % rows;
        if (dictionary->word(keyOfRow(row)).startsWith(text)) {
            list->setCurrentRow(row);
            list->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
