#include <memory>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <functional>

#include "app/mainwindow.h"
#include "config/settings.h"
#include "editing/editordialog.h"
#include "editing/finderdialog.h"
#include "editing/unitdialog.h"
#include "languages/dictionarylanguage.h"
#include "lessons/abstractlesson.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "review/reviewschedule.h"
#include "speech/speaker.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"
#include "tests/testfiles.h"

namespace {


QAction* action(QWidget* parent, const QString& text)
{
    for (QAction* action : parent->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

QStringList wordsOf(Workspace* workspace, const QList<int>& keys)
{
    QStringList words;
    for (int key : keys)
        words.append((&workspace->words.units)->word(key));
    words.sort();
    return words;
}

} // namespace

class TestEditingHandOffs : public QObject
{
    Q_OBJECT

    // Each test function has a home folder, workspace and window of its
    // own; the workspace outlives the window.
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void editorActionInToolsMenuAndToolbar();
    void finderBarOpensTheFinder();
    void reorderingDuringARunKeepsItsWords();
    void editorLeavingTooFewVariantsEndsTheRun();
    void acceptedEditsReachTheDiskAtOnce();
    void dueCountIsRefreshedAtMidnight();

private:
    void startRun();
};

void TestEditingHandOffs::initTestCase()
{
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(1));
}

void TestEditingHandOffs::init()
{
    QVERIFY(emptyHomeFolder());
    Random::seed(5);
    workspace = storedWorkspace();
    workspace->settings.speakEnabled = false;
    const QString folder = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries");
    QVERIFY(QDir().mkpath(folder));
    writeNumbersDictionary(folder + QStringLiteral("/numbers.dic"));
    // In English, as the window would keep it after telling it from the words.
    QCOMPARE(DictionaryLanguage::write(folder + QStringLiteral("/numbers.dic"), QStringLiteral("en")), QString());
    workspace->settings.currentFileName = folder + QStringLiteral("/numbers");
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    window = std::make_unique<MainWindow>(workspace.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestEditingHandOffs::cleanup()
{
    window.reset();
    workspace.reset();
}

// Words two, five and nine are chosen and the run starts.
void TestEditingHandOffs::startRun()
{
    for (int key : {1, 4, 8})
        workspace->words.statuses.setStatus(key, Statuses::Initial);
    for (QPushButton* button : window->lesson(0)->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Начать изучение"))
            button->click();
    QVERIFY(window->currentPage() != 0);
}

void TestEditingHandOffs::editorActionInToolsMenuAndToolbar()
{
    QAction* editor = action(window.get(), QStringLiteral("Редактор словаря..."));
    QVERIFY(editor);
    QCOMPARE(editor->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    QMenu* tools = nullptr;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->text() == QStringLiteral("Инструменты"))
            tools = menu->menu();
    QVERIFY(tools);
    QCOMPARE(tools->actions().at(0), editor);
    QVERIFY(tools->actions().at(1)->isSeparator());
    const QList<QAction*> bar = window->findChild<QToolBar*>(QStringLiteral("Main"))->actions();
    QCOMPARE(bar.at(bar.indexOf(action(window.get(), QStringLiteral("Открыть словарь..."))) + 1), editor);

    bool opened = false;
    whenModal<EditorDialog>([&](EditorDialog* dialog) {
        opened = true;
        dialog->accept();
    });
    editor->trigger();
    QVERIFY(opened);
    QCOMPARE(window->currentPage(), 0);
}

void TestEditingHandOffs::finderBarOpensTheFinder()
{
    auto* bar = window->findChild<QToolBar*>(QStringLiteral("Finder"))->findChild<QLineEdit*>();
    QVERIFY(bar);
    QStringList shown;
    whenModal<FinderDialog>([&](FinderDialog* finder) {
        for (QLineEdit* field : finder->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            shown.append(field->text());
        finder->accept();
    });
    bar->setText(QStringLiteral("THREE"));
    QMetaObject::invokeMethod(bar, "returnPressed");
    QCOMPARE(shown.mid(0, 2), (QStringList{"three", "число three"}));
    QCOMPARE(bar->text(), QString());

    // An empty bar opens nothing. The bar's signal is handled inside the
    // call, so a finder that opened has been shown, and closed again by the
    // closer, when the call returns.
    int opened = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&opened] {
        if (auto* finder = qobject_cast<FinderDialog*>(QApplication::activeModalWidget())) {
            ++opened;
            finder->reject();
        }
    });
    closer.start(5);
    QMetaObject::invokeMethod(bar, "returnPressed");
    QCOMPARE(opened, 0);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestEditingHandOffs::reorderingDuringARunKeepsItsWords()
{
    Statuses* statuses = (&workspace->words.statuses);
    startRun();
    const QStringList asked = wordsOf(workspace.get(), (&workspace->words.questions)->list());
    const QStringList variants = wordsOf(workspace.get(), (&workspace->words.variants)->list());
    QCOMPARE(asked, (QStringList{"five", "nine", "two"}));
    QVERIFY(variants.size() >= 6);

    whenModal<EditorDialog>([&](EditorDialog* dialog) {
        action(dialog, QStringLiteral("По алфавиту"))->trigger();
        action(dialog, QStringLiteral("Случайно"))->trigger();
        dialog->accept();
    });
    action(window.get(), QStringLiteral("Редактор словаря..."))->trigger();

    QVERIFY(window->currentPage() != 0);
    QCOMPARE(wordsOf(workspace.get(), (&workspace->words.questions)->list()), asked);
    QCOMPARE(wordsOf(workspace.get(), (&workspace->words.variants)->list()), variants);
    QVERIFY(asked.contains((&workspace->words.units)->word((&workspace->words.questions)->current())));
    for (const QString& word : asked)
        QCOMPARE(statuses->status((&workspace->words.units)->find(word)), int(Statuses::Initial));
}

void TestEditingHandOffs::editorLeavingTooFewVariantsEndsTheRun()
{
    startRun();
    // Removing all but five words of the variant pool ends the run.
    whenModal<EditorDialog>([&](EditorDialog* dialog) {
        whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        const QList<int> variants = (&workspace->words.variants)->list();
        auto* list = dialog->findChild<QListWidget*>();
        for (int row = 0; row < list->count(); ++row) {
            const int key = dialog->keyOfRow(row);
            if (variants.indexOf(key) >= 5)
                list->item(row)->setSelected(true);
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Удалить"))
                button->click();
        dialog->accept();
    });
    action(window.get(), QStringLiteral("Редактор словаря..."))->trigger();
    QCOMPARE(window->currentPage(), 0);
    QCOMPARE((&workspace->words.questions)->count(), 0);
}

void TestEditingHandOffs::acceptedEditsReachTheDiskAtOnce()
{
    QCOMPARE(window->currentPage(), 0);
    const QString dic = workspace->words.units.fileName();
    const QString other = QFileInfo(dic).path() + QStringLiteral("/other.dic");
    writeNumbersDictionary(other);
    // "one" is learned and was reviewed once.
    (&workspace->words.statuses)->setStatus((&workspace->words.units)->find(QStringLiteral("one")), Statuses::Learned);
    window->openFile(other);
    ReviewSchedule past;
    past.sync({{"one", 100}}, QDate::currentDate().addDays(-10));
    past.reviewed(QStringLiteral("one"), true, QDate::currentDate().addDays(-5));
    QCOMPARE(past.save(dic), QString());
    window->openFile(dic);

    bool onDiskWhileOpen = false;
    whenModal<EditorDialog>([&](EditorDialog* editor) {
        whenModal<UnitDialog>([](UnitDialog* dialog) {
            auto* form = dialog->findChild<QFormLayout*>();
            qobject_cast<QLineEdit*>(form->itemAt(0, QFormLayout::FieldRole)->widget())->setText(QStringLiteral("zebra"));
            qobject_cast<QLineEdit*>(form->itemAt(1, QFormLayout::FieldRole)->widget())->setText(QStringLiteral("зебра"));
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        editor->findChild<UnitDialog*>()->exec();
        // A kill now must not lose the word: it is on disk with the editor still open.
        const DictionaryFiles::Reading reading = DictionaryFiles::read(dic);
        onDiskWhileOpen = reading.kind == DictionaryFiles::Reading::Whole
                          && reading.units.last().word == QLatin1String("zebra");
        // A corrected spelling, as the editor's word dialog makes it.
        (&workspace->words.units)->edit((&workspace->words.units)->find(QStringLiteral("one")), QStringLiteral("ones"),
                                 QStringLiteral("число один"));
        editor->accept();
    });
    action(window.get(), QStringLiteral("Редактор словаря..."))->trigger();
    QVERIFY(onDiskWhileOpen);
    // The card went with the word, with its review.
    ReviewSchedule saved;
    QCOMPARE(saved.load(dic), QString());
    QVERIFY(!saved.contains(QStringLiteral("one")));
    QCOMPARE(saved.card(QStringLiteral("ones")).reviews, 1);
    const QList<Unit> units = DictionaryFiles::read(dic).units;
    QVERIFY(std::any_of(units.cbegin(), units.cend(), [](const Unit& unit) { return unit.word == QLatin1String("ones"); }));
}

void TestEditingHandOffs::dueCountIsRefreshedAtMidnight()
{
    auto* timer = window->findChild<QTimer*>(QStringLiteral("midnight"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 toMidnight = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
    QVERIFY2(qAbs(timer->remainingTime() - toMidnight) < 5000,
             qPrintable(QString::number(timer->remainingTime())));
}

VOCABRIUM_TEST_MAIN(TestEditingHandOffs)
#include "tst_editinghandoffs.moc"
