#include <QAction>
#include <QApplication>
#include <QDir>
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
#include "app/settings.h"
#include "editing/editordialog.h"
#include "editing/finderdialog.h"
#include "lessons/abstractlesson.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
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

QStringList wordsOf(const QList<int>& keys)
{
    QStringList words;
    for (int key : keys)
        words.append(Units::instance(0)->word(key));
    words.sort();
    return words;
}

} // namespace

class TestEditingHandOffs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editorActionInToolsMenuAndToolbar();
    void finderBarOpensTheFinder();
    void reorderingDuringARunKeepsItsWords();
    void editorLeavingTooFewVariantsEndsTheRun();

private:
    MainWindow* window = nullptr;
};

void TestEditingHandOffs::initTestCase()
{
    readSettings();
    speakEnabled = false;
    Speaker::setPauseInterval(1);
    Random::seed(5);
    const QString folder = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries");
    QVERIFY(QDir().mkpath(folder));
    writeNumbersDictionary(folder + QStringLiteral("/numbers.dic"));
    currentFileName = folder + QStringLiteral("/numbers");
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestEditingHandOffs::editorActionInToolsMenuAndToolbar()
{
    QAction* editor = action(window, QStringLiteral("Редактор словаря..."));
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
    QCOMPARE(bar.at(bar.indexOf(action(window, QStringLiteral("Открыть словарь..."))) + 1), editor);

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

    // An empty bar opens nothing.
    QMetaObject::invokeMethod(bar, "returnPressed");
    QTest::qWait(30);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestEditingHandOffs::reorderingDuringARunKeepsItsWords()
{
    Statuses* statuses = Statuses::instance();
    for (int key : {1, 4, 8})
        statuses->setStatus(key, Statuses::Initial);
    for (QPushButton* button : window->lesson(0)->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Начать изучение"))
            button->click();
    QVERIFY(window->currentPage() != 0);
    const QStringList asked = wordsOf(Questions::instance()->list());
    const QStringList variants = wordsOf(Variants::instance()->list());
    QCOMPARE(asked, (QStringList{"five", "nine", "two"}));
    QVERIFY(variants.size() >= 6);

    whenModal<EditorDialog>([&](EditorDialog* dialog) {
        action(dialog, QStringLiteral("По алфавиту"))->trigger();
        action(dialog, QStringLiteral("Случайно"))->trigger();
        dialog->accept();
    });
    action(window, QStringLiteral("Редактор словаря..."))->trigger();

    QVERIFY(window->currentPage() != 0);
    QCOMPARE(wordsOf(Questions::instance()->list()), asked);
    QCOMPARE(wordsOf(Variants::instance()->list()), variants);
    QVERIFY(asked.contains(Units::instance(0)->word(Questions::instance()->current())));
    for (const QString& word : asked)
        QCOMPARE(statuses->status(Units::instance(0)->find(word)), int(Statuses::Initial));
}

void TestEditingHandOffs::editorLeavingTooFewVariantsEndsTheRun()
{
    QVERIFY(window->currentPage() != 0);
    // Removing all but five words of the variant pool ends the run.
    whenModal<EditorDialog>([&](EditorDialog* dialog) {
        whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        const QList<int> variants = Variants::instance()->list();
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
    action(window, QStringLiteral("Редактор словаря..."))->trigger();
    QCOMPARE(window->currentPage(), 0);
    QCOMPARE(Questions::instance()->count(), 0);
}

VOCABRIUM_TEST_MAIN(TestEditingHandOffs)
#include "tst_editinghandoffs.moc"
