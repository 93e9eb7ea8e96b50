#include <memory>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTimer>

#include <functional>

#include "config/settings.h"
#include "editing/editordialog.h"
#include "editing/unitdialog.h"
#include "model/dictionaryformat.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"

namespace {

// Runs \a act on the next modal window of type T once it is the active one.

QPushButton* button(QWidget* parent, const QString& text)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QAction* action(QWidget* parent, const QString& text)
{
    for (QAction* action : parent->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

QCheckBox* checkBox(QWidget* parent, const QString& text)
{
    for (QCheckBox* box : parent->findChildren<QCheckBox*>())
        if (box->text() == text)
            return box;
    return nullptr;
}

QList<Unit> units(const QStringList& words)
{
    QList<Unit> result;
    for (const QString& word : words)
        result.append(Unit{word, word.isEmpty() ? QString() : QStringLiteral("t:") + word});
    return result;
}

bool writeDictionary(const QString& path, const QList<Unit>& units)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && DictionaryFormat::writeUnits(&file, units)
        && file.commit();
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the editor that points into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();

    void listShowsWordsTicksAndOptions_data();
    void listShowsWordsTicksAndOptions();
    void tickingSetsLearnedAndUntickingUnlearned();
    void removingAsksAndKeepsTheOtherWords_data();
    void removingAsksAndKeepsTheOtherWords();
    void orderingsKeepTranslationsAndStatuses_data();
    void orderingsKeepTranslationsAndStatuses();
    void randomOrderKeepsEveryWord();
    void findStepsCyclicallyThroughMatches();
    void selectionCommands();
    void comparisonWithAnotherDictionary();
    void markCommandsSetStatuses();
    void addingGoesOnUntilCancelAndEditingWalksTheSelection();
    void storedSizeFitsTheScreen_data();
    void storedSizeFitsTheScreen();

private:
    // Opens the editor, runs \a steps inside it and closes it.
    void runEditor(const std::function<void()>& steps);
    void setDictionary(const QStringList& words, const QList<int>& values);
    QStringList rowTexts() const;
    QString countText() const;
    QList<int> selectedRows() const;
    QList<QPair<Unit, int>> entries() const;

    Units* dictionary = nullptr;
    Statuses* statuses = nullptr;
    std::unique_ptr<EditorDialog> editorDialog;
    EditorDialog* editor = nullptr;
    QListWidget* list = nullptr;
};

void TestEditor::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = storedWorkspace();
    QDir().mkpath(QStringLiteral("Transcriptions"));
    QVERIFY(QFile::copy(QStringLiteral(VOCABRIUM_BUILD_DIR "/Transcriptions/English.trn"),
                        QStringLiteral("Transcriptions/English.trn")));
    workspace->settings.transcriptionFileName = QStringLiteral("English");
    workspace->transcriptions.load();
    QDir().mkpath(workspace->settings.dictionariesPath);
    workspace->settings.currentFileName = workspace->settings.dictionariesPath + QStringLiteral("editor");
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    QVERIFY(writeDictionary(workspace->words.units.fileName(), {}));
    dictionary = (&workspace->words.units);
    statuses = (&workspace->words.statuses);
    workspace->settings.edTranslation = false;
    workspace->settings.edTranscription = false;
    editorDialog = std::make_unique<EditorDialog>(workspace.get());
    editor = editorDialog.get();
    list = editor->findChild<QListWidget*>();
}

void TestEditor::cleanup()
{
    list = nullptr;
    editor = nullptr;
    editorDialog.reset();
    workspace.reset();
}

void TestEditor::runEditor(const std::function<void()>& steps)
{
    whenModal<EditorDialog>([this, steps](EditorDialog*) {
        steps();
        button(editor, QStringLiteral("Закрыть"))->click();
    });
    QCOMPARE(editor->exec(), int(QDialog::Accepted));
}

void TestEditor::setDictionary(const QStringList& words, const QList<int>& values)
{
    dictionary->setUnits(units(words));
    statuses->setList(values);
}

QStringList TestEditor::rowTexts() const
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

QString TestEditor::countText() const
{
    for (QLabel* label : editor->findChildren<QLabel*>())
        if (label->text().startsWith(QStringLiteral("Слов: ")))
            return label->text();
    return QString();
}

QList<int> TestEditor::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->isSelected())
            rows.append(row);
    return rows;
}

QList<QPair<Unit, int>> TestEditor::entries() const
{
    QList<QPair<Unit, int>> result;
    for (int key : dictionary->keys())
        result.append({dictionary->unit(key), statuses->status(key)});
    return result;
}

void TestEditor::listShowsWordsTicksAndOptions_data()
{
    QTest::addColumn<bool>("translation");
    QTest::addColumn<bool>("transcription");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("words only") << false << false
                                << QStringList{"cat", "zebu", "<b>dog</b>", "house", ""};
    QTest::newRow("translations, bare word without one")
        << true << false << QStringList{"cat - t:cat", "zebu - t:zebu", "<b>dog</b> - t:<b>dog</b>", "house", ""};
    QTest::newRow("transcriptions, one space without one")
        << false << true << QStringList{"cat [kˈæt]", "zebu ", "<b>dog</b> ", "house [hˈaʊs]", " "};
}

void TestEditor::listShowsWordsTicksAndOptions()
{
    QFETCH(bool, translation);
    QFETCH(bool, transcription);
    QFETCH(QStringList, texts);
    dictionary->setUnits(units({"cat", "zebu", "<b>dog</b>"})
                         + QList<Unit>{Unit{"house", ""}, Unit{"", ""}});
    // 20 counts as learned with the default model of 8 steps.
    statuses->setList({100, 5, 0, 20, 3});

    runEditor([&] {
        checkBox(editor, QStringLiteral("Перевод"))->setChecked(translation);
        checkBox(editor, QStringLiteral("Транскрипция"))->setChecked(transcription);
        QCOMPARE(countText(), QStringLiteral("Слов: 5"));
        QCOMPARE(rowTexts(), texts);
        const QList<Qt::CheckState> ticks{Qt::Checked, Qt::Unchecked, Qt::Unchecked, Qt::Checked,
                                          Qt::Unchecked};
        for (int row = 0; row < list->count(); ++row) {
            QCOMPARE(list->item(row)->checkState(), ticks.at(row));
            // Grey for words being learned that are not ticked.
            QCOMPARE(list->item(row)->background().color() == QColor(Qt::gray), row == 1 || row == 4);
        }
    });
    QCOMPARE(workspace->settings.edTranslation, translation);
    QCOMPARE(workspace->settings.edTranscription, transcription);

    setDictionary({}, {});
    runEditor([&] {
        QCOMPARE(countText(), QStringLiteral("Слов: 0"));
        QCOMPARE(list->count(), 0);
        editor->findChild<QLineEdit*>()->setText(QStringLiteral("a"));
        button(editor, QStringLiteral("Найти"))->click();
        QCOMPARE(list->currentRow(), -1);
    });
}

void TestEditor::tickingSetsLearnedAndUntickingUnlearned()
{
    setDictionary({"cat", "dog", "cow"}, {5, 0, 100});
    QSignalSpy learned(statuses, &Statuses::learned);
    QSignalSpy unlearned(statuses, &Statuses::unlearned);
    runEditor([&] {
        // A row that is not the current one: the changed row counts, not the current.
        list->setCurrentRow(2);
        list->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(statuses->status(0), 100);
        QCOMPARE(learned.count(), 1);
        QCOMPARE(learned.first().first().toInt(), 0);
        QCOMPARE(list->item(0)->background().style(), Qt::NoBrush);
        list->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(statuses->status(0), 0);
        QCOMPARE(unlearned.count(), 1);
        // Other changes of a row leave the status alone.
        list->item(1)->setText(QStringLiteral("dog!"));
        QCOMPARE(statuses->status(1), 0);
        QCOMPARE(statuses->status(2), 100);
    });
}

void TestEditor::removingAsksAndKeepsTheOtherWords_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("remaining");

    const QString several = QStringLiteral("Вы уверены что хотите удалить 3 слова?");
    QTest::newRow("three apart") << QList<int>{0, 2, 4} << int(QMessageBox::Yes) << several
                                 << QStringList{"b", "d", "f"};
    QTest::newRow("one") << QList<int>{5} << int(QMessageBox::Yes)
                         << QStringLiteral("Вы уверены что хотите удалить это слово?")
                         << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("no keeps all") << QList<int>{1, 3, 5} << int(QMessageBox::No) << several
                                  << QStringList{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("nothing selected asks nothing")
        << QList<int>{} << 0 << QString() << QStringList{"a", "b", "c", "d", "e", "f"};
}

void TestEditor::removingAsksAndKeepsTheOtherWords()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, remaining);
    const QList<int> values{0, 5, 100, 7, 0, 100};
    setDictionary({"a", "b", "c", "d", "e", "f"}, values);
    QMap<QString, int> expected;
    for (int i = 0; i < remaining.size(); ++i)
        expected.insert(remaining.at(i), values.at(remaining.at(i).at(0).unicode() - 'a'));

    QString asked;
    runEditor([&] {
        for (int row : rows)
            list->item(row)->setSelected(true);
        if (answer) {
            whenModal<QMessageBox>([&](QMessageBox* box) {
                asked = box->text();
                QCOMPARE(box->windowTitle(), QStringLiteral("Вопрос"));
                box->button(QMessageBox::StandardButton(answer))->click();
            });
        }
        button(editor, QStringLiteral("Удалить"))->click();
        QCOMPARE(rowTexts(), remaining);
    });
    QCOMPARE(asked, question);
    QCOMPARE(dictionary->count(), remaining.size());
    for (int key : dictionary->keys()) {
        const QString word = dictionary->word(key);
        QCOMPARE(dictionary->translation(key), QStringLiteral("t:") + word);
        QCOMPARE(statuses->status(key), expected.value(word));
    }
}

void TestEditor::orderingsKeepTranslationsAndStatuses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<Unit>>("before");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("order"); // earlier positions, in the new order

    const QList<Unit> letters{Unit{"b", "1"}, Unit{"B", "2"}, Unit{"a", "3"}, Unit{"я", "4"},
                              Unit{"Z", "5"}};
    QTest::newRow("alphabet: capitals, small, cyrillic")
        << "По алфавиту" << letters << QList<int>{0, 5, 100, 7, 0} << QList<int>{1, 4, 2, 0, 3};
    QTest::newRow("alphabet: equal words swap")
        << "По алфавиту" << QList<Unit>{Unit{"x", "first"}, Unit{"a", ""}, Unit{"x", "second"}}
        << QList<int>{100, 0, 5} << QList<int>{1, 2, 0};
    QTest::newRow("status: descending, later first")
        << "По статусу" << letters << QList<int>{0, 100, 5, 100, 20} << QList<int>{3, 1, 4, 2, 0};
}

void TestEditor::orderingsKeepTranslationsAndStatuses()
{
    QFETCH(QString, command);
    QFETCH(QList<Unit>, before);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, order);
    // A gap in the keys, as a removal leaves it.
    QList<Unit> withGap = before;
    withGap.insert(1, Unit{"gone", ""});
    QList<int> gapValues = values;
    gapValues.insert(1, 0);
    dictionary->setUnits(withGap);
    statuses->setList(gapValues);
    dictionary->remove(1);
    statuses->remove(1);
    const QList<int> oldKeys = dictionary->keys();

    QSignalSpy renumbered(editor, &EditorDialog::keysRenumbered);
    runEditor([&] { action(editor, command)->trigger(); });

    QList<Unit> after;
    QList<int> afterValues;
    QList<int> previousKeys;
    for (int position : order) {
        after.append(before.at(position));
        afterValues.append(values.at(position));
        previousKeys.append(oldKeys.at(position));
    }
    QCOMPARE(dictionary->unitList(), after);
    QCOMPARE(dictionary->keys().last(), int(after.size() - 1));
    for (int key = 0; key < after.size(); ++key)
        QCOMPARE(statuses->status(key), afterValues.at(key));
    QCOMPARE(renumbered.count(), 1);
    QCOMPARE(renumbered.first().first().value<QList<int>>(), previousKeys);
}

void TestEditor::randomOrderKeepsEveryWord()
{
    QStringList words;
    QList<int> values;
    for (int i = 0; i < 200; ++i) {
        words.append(QStringLiteral("w%1").arg(i));
        values.append(i % 3 == 0 ? 100 : i % 7);
    }
    setDictionary(words, values);
    const auto before = entries();
    Random::seed(7);
    runEditor([&] { action(editor, QStringLiteral("Случайно"))->trigger(); });
    const auto once = entries();
    QVERIFY(once != before);
    auto sorted = [](QList<QPair<Unit, int>> list) {
        std::sort(list.begin(), list.end(),
                  [](const auto& a, const auto& b) { return a.first.word < b.first.word; });
        return list;
    };
    QCOMPARE(sorted(once), sorted(before));

    // The same draws give the same order.
    setDictionary(words, values);
    Random::seed(7);
    runEditor([&] { action(editor, QStringLiteral("Случайно"))->trigger(); });
    QCOMPARE(entries(), once);
}

void TestEditor::findStepsCyclicallyThroughMatches()
{
    setDictionary({"cat", "car", "dog", "Cab"}, {0, 0, 0, 0});
    runEditor([&] {
        auto* field = editor->findChild<QLineEdit*>();
        auto find = [&](const QString& text) {
            field->setText(text);
            QTest::keyClick(field, Qt::Key_Return);
            return list->currentRow();
        };
        list->setCurrentRow(1);
        QCOMPARE(find(QStringLiteral("ca")), 0);
        QVERIFY(list->hasFocus());
        QCOMPARE(find(QStringLiteral("ca")), 1);
        QCOMPARE(find(QStringLiteral("ca")), 0);
        // Case counts, and no match leaves the current row.
        QCOMPARE(find(QStringLiteral("Ca")), 3);
        QCOMPARE(find(QStringLiteral("Ca")), 3);
        QCOMPARE(find(QStringLiteral("x")), 3);
        // From the last row the search starts over at the top.
        QCOMPARE(find(QStringLiteral("d")), 2);
        list->setCurrentRow(3);
        QCOMPARE(find(QStringLiteral("c")), 0);
    });
}

void TestEditor::selectionCommands()
{
    dictionary->setUnits({Unit{"a", "1"}, Unit{"b", ""}, Unit{"c", "3"}, Unit{"d", ""},
                          Unit{"e", "5"}, Unit{"f", "6"}});
    statuses->setList({0, 5, 100, 20, 0, 3});
    runEditor([&] {
        const QList<QPair<QString, QList<int>>> commands{
            {QStringLiteral("Неизученные слова"), {0, 4}},
            {QStringLiteral("Изучаемые слова"), {1, 3, 5}},
            {QStringLiteral("Изученные слова"), {2}},
            {QStringLiteral("Все слова без перевода"), {1, 3}},
            {QStringLiteral("Все слова"), {0, 1, 2, 3, 4, 5}},
        };
        list->item(5)->setSelected(true);
        for (const auto& [command, rows] : commands) {
            action(editor, command)->trigger();
            QCOMPARE(selectedRows(), rows);
        }
    });
    QCOMPARE(statuses->status(3), 20);
}

void TestEditor::comparisonWithAnotherDictionary()
{
    setDictionary({"cat", "dog", "Bird", "cow", "cat"}, {100, 5, 0, 7, 0});
    // A gap in the keys, as a removal leaves it: the comparison must not
    // move any status onto another word.
    dictionary->remove(3);
    statuses->remove(3);
    const auto before = entries();
    const QList<int> keys = dictionary->keys();
    const QString other = workspace->settings.dictionariesPath + QStringLiteral("other.dic");
    QVERIFY(writeDictionary(other, units({"cat", "Dog", "bird", "Bird", "horse"})));

    auto compareWith = [&](const QString& path) {
        whenModal<QFileDialog>([path](QFileDialog* dialog) {
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            QCOMPARE(dialog->directory().absolutePath(), QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries"));
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        action(editor, QStringLiteral("Все слова из другого словаря"))->trigger();
        return selectedRows();
    };
    runEditor([&] {
        QCOMPARE(compareWith(other), (QList<int>{0, 2, 3}));
        QCOMPARE(compareWith(QString()), QList<int>{});
        // Its own file: every row, including what was not saved before.
        dictionary->add(QStringLiteral("new"), QString());
        QMetaObject::invokeMethod(editor, "updateList");
        QCOMPARE(compareWith(workspace->words.units.fileName()), (QList<int>{0, 1, 2, 3, 4}));
    });
    QCOMPARE(entries().mid(0, 4), before);
    QCOMPARE(dictionary->keys().mid(0, 4), keys);
}

void TestEditor::markCommandsSetStatuses()
{
    setDictionary({"a", "b", "c", "d"}, {0, 100, 7, 0});
    QSignalSpy initial(statuses, &Statuses::initial);
    runEditor([&] {
        auto mark = [&](const QList<int>& rows, const QString& command) {
            list->clearSelection();
            for (int row : rows)
                list->item(row)->setSelected(true);
            action(editor, command)->trigger();
        };
        mark({0, 2}, QStringLiteral("Изучаемое"));
        QCOMPARE(initial.count(), 2);
        QCOMPARE(list->item(0)->background().color(), QColor(Qt::gray));
        mark({1, 3}, QStringLiteral("Изученное"));
        QCOMPARE(list->item(3)->checkState(), Qt::Checked);
        mark({1}, QStringLiteral("Неизученное"));
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        mark({}, QStringLiteral("Изученное"));
    });
    QCOMPARE(entries().at(0).second, 5);
    QCOMPARE(entries().at(1).second, 0);
    QCOMPARE(entries().at(2).second, 5);
    QCOMPARE(entries().at(3).second, 100);
}

void TestEditor::addingGoesOnUntilCancelAndEditingWalksTheSelection()
{
    setDictionary({"a", "b", "c"}, {0, 5, 100});
    std::function<void(int)> fill = [&](int left) {
        whenModal<UnitDialog>([&, left](UnitDialog* dialog) {
            auto* box = dialog->findChild<QDialogButtonBox*>();
            if (left == 0) {
                box->button(QDialogButtonBox::Cancel)->click();
                return;
            }
            const auto fields = dialog->findChildren<QLineEdit*>();
            fields.at(0)->setText(QStringLiteral("new%1").arg(left));
            fields.at(1)->setText(QStringLiteral("новое%1").arg(left));
            fill(left - 1);
            box->button(QDialogButtonBox::Save)->click();
        });
    };
    runEditor([&] {
        fill(2);
        action(editor, QStringLiteral("Слово"))->trigger();
        QCOMPARE(rowTexts(), (QStringList{"a", "b", "c", "new2", "new1"}));

        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
        QStringList edited;
        std::function<void(int)> change = [&](int left) {
            whenModal<UnitDialog>([&, left](UnitDialog* dialog) {
                const auto fields = dialog->findChildren<QLineEdit*>();
                edited.append(fields.at(0)->text());
                fields.at(1)->setText(QStringLiteral("changed"));
                if (left > 1)
                    change(left - 1);
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
            });
        };
        change(2);
        button(editor, QStringLiteral("Изменить"))->click();
        QCOMPARE(edited, (QStringList{"a", "c"}));
    });
    QCOMPARE(dictionary->translation(0), QStringLiteral("changed"));
    QCOMPARE(dictionary->translation(1), QStringLiteral("t:b"));
    QCOMPARE(dictionary->translation(2), QStringLiteral("changed"));
    QCOMPARE(statuses->status(1), 5);
    QCOMPARE(statuses->status(2), 100);
    QCOMPARE(dictionary->unit(4), (Unit{"new1", "новое1"}));
}

VOCABRIUM_TEST_MAIN(TestEditor)
void TestEditor::storedSizeFitsTheScreen_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::newRow("the largest a settings file gives") << QSize(4000, 3000);
    QTest::newRow("wider than the screen") << QSize(3000, 400);
}

void TestEditor::storedSizeFitsTheScreen()
{
    QFETCH(QSize, stored);
    workspace->settings.edSize = stored;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QSize shown;
    runEditor([&] { shown = editor->size(); });
    QVERIFY2(shown.width() <= screen.width() && shown.height() <= screen.height(),
             qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
}

#include "tst_editor.moc"
