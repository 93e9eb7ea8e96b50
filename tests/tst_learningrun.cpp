#include <memory>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include "app/mainwindow.h"
#include "languages/dictionarylanguage.h"
#include "lessons/abstractlesson.h"
#include "lessons/fillwidget.h"
#include "lessons/selectwidget.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "review/reviewschedule.h"
#include "speech/speaker.h"
#include "dialoghelpers.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"


class TestLearningRun : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the window that points into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void wholeRunWithTheKeyboardAndMouse();
    void markingTheLastWordLearnedEndsTheRun();
    void shorterModelPutsPoolBackToFirstStep();
    void clearingStatusesDuringARunEndsIt();
    void returnOrEscapeDoNotClearStatuses_data();
    void returnOrEscapeDoNotClearStatuses();
    void abandonedExerciseNeverFinishes();
    void reviewRunRemembersOneAndRelearnsTheOther();
    void interruptedReviewKeepsWordsLearned_data();
    void interruptedReviewKeepsWordsLearned();
    void closingSavesFiles();

private:
    void answer(bool makeMistake);
    void chooseWords(int count);

    std::unique_ptr<MainWindow> window;
    QString dictionary;
    int mistakesMade = 0;
    int exercisesDone = 0;
};

void TestLearningRun::init()
{
    QVERIFY(emptyHomeFolder());
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(1));
    Random::seed(99);
    mistakesMade = 0;
    exercisesDone = 0;
    const QString folder = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries");
    QVERIFY(QDir().mkpath(folder));
    dictionary = folder + QStringLiteral("/ten");
    writeNumbersDictionary(dictionary + QStringLiteral(".dic"));
    // The language as the window keeps it, so that no window has to tell it
    // from the words.
    QCOMPARE(DictionaryLanguage::write(dictionary + QStringLiteral(".dic"), QStringLiteral("en")), QString());
    workspace = storedWorkspace();
    workspace->settings.speakEnabled = false;
    workspace->settings.currentFileName = dictionary;
    workspace->words.units.setFileName(dictionary + QStringLiteral(".dic"));
    workspace->settings.learningModel = {1, 2, 3, 4};
    window = std::make_unique<MainWindow>(workspace.get());
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    for (int kind = 0; kind < 5; ++kind)
        connect(window->lesson(kind), &AbstractLesson::finished, this, [this] { ++exercisesDone; });
}

void TestLearningRun::cleanup()
{
    window.reset();
    workspace.reset();
}

void TestLearningRun::chooseWords(int count)
{
    QCOMPARE(window->currentPage(), 0);
    QWidget* fill = window->lesson(0);
    QPushButton* learn = nullptr;
    for (QPushButton* button : fill->findChildren<QPushButton*>())
        if (button->toolTip() == QStringLiteral("Изучать слово"))
            learn = button;
    QVERIFY(learn);
    for (int i = 0; i < count; ++i)
        QTest::mouseClick(learn, Qt::LeftButton);
}

// Answers the exercise on screen, once wrongly first if asked to.
void TestLearningRun::answer(bool makeMistake)
{
    const int page = window->currentPage();
    QWidget* lesson = window->lesson(page);
    const int key = (&workspace->words.questions)->current();
    const QString word = (&workspace->words.units)->word(key);
    switch (page) {
    case 1:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    case 2: {
        auto* select = static_cast<SelectWidget*>(lesson);
        const QList<int> shown = select->shownVariants();
        if (makeMistake && shown.indexOf(key) > 0) {
            // The keyboard alone: down to the first answer, Enter until right.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            for (int i = 0; i <= shown.indexOf(key); ++i) {
                QCOMPARE(QApplication::focusWidget(), select->answerButton(i));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            mistakesMade += int(shown.indexOf(key));
            break;
        }
        if (makeMistake) {
            QTest::mouseClick(select->answerButton(shown.first() == key ? 1 : 0), Qt::LeftButton);
            ++mistakesMade;
        }
        QTest::mouseClick(select->answerButton(int(shown.indexOf(key))), Qt::LeftButton);
        break;
    }
    case 3:
        if (makeMistake) {
            QTest::mouseClick(childWithText<QPushButton>(lesson, QStringLiteral("Забыл")), Qt::LeftButton);
            ++mistakesMade;
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        break;
    case 4: {
        auto* input = lesson->findChild<QLineEdit*>();
        if (makeMistake) {
            QTest::keyClicks(input, QStringLiteral("zz"));
            QTest::keyClick(input, Qt::Key_Return);
            input->clear();
            ++mistakesMade;
        }
        QTest::keyClicks(input, word);
        QTest::keyClick(input, Qt::Key_Return);
        break;
    }
    default:
        QFAIL("no lesson page is shown");
    }
}

void TestLearningRun::wholeRunWithTheKeyboardAndMouse()
{
    BoxAnswerer answerer(QMessageBox::Ok);
    const int learnedBefore = workspace->settings.learnedCount;
    chooseWords(3);
    QCOMPARE((&workspace->words.questions)->count(), 3);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    QVERIFY(window->currentPage() != 0);
    QVERIFY((&workspace->words.variants)->count() >= 6);

    int exercises = 0;
    while (window->currentPage() != 0 && exercises < 100) {
        const int before = exercisesDone;
        answer(exercises++ % 4 == 1);
        // Lessons that pronounce the word move on after the (shortened) pause.
        QTRY_VERIFY_WITH_TIMEOUT(exercisesDone > before, 2000);
    }
    QCOMPARE(window->currentPage(), 0);
    QVERIFY(exercises >= 12);
    QVERIFY(!answerer.texts.isEmpty());
    QVERIFY(answerer.texts.last().contains(QStringLiteral("Только что вы изучили <b>3")));
    QVERIFY(answerer.texts.last().contains(QStringLiteral("Ошибок: <b>%1<").arg(mistakesMade)));
    QCOMPARE((&workspace->words.statuses)->countOf(100), 3);
    QCOMPARE(workspace->settings.learnedCount, learnedBefore + 3);
    QCOMPARE(workspace->settings.mistakesCount, mistakesMade);
    QCOMPARE((&workspace->words.questions)->count(), 0);
    QCOMPARE((&workspace->words.variants)->count(), 0);
    // The end of the run saved what was learned; a crash now loses nothing.
    QCOMPARE(DictionaryFiles::readStatusValues(dictionary + QStringLiteral(".dic")).count(100), 3);
    QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    QCOMPARE(s.value(QStringLiteral("learnedCount")).toInt(), workspace->settings.learnedCount);
}

void TestLearningRun::markingTheLastWordLearnedEndsTheRun()
{
    BoxAnswerer answerer(QMessageBox::Ok);
    const int learnedBefore = workspace->settings.learnedCount;
    chooseWords(1);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    QVERIFY(window->currentPage() != 0);
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+w")));
    QCOMPARE(window->currentPage(), 0);
    QCOMPARE(workspace->settings.learnedCount, learnedBefore + 1);
    QVERIFY(answerer.texts.last().contains(QStringLiteral("Только что вы изучили <b>1")));
    // On the word selection page the shortcut does nothing.
    const int learned = (&workspace->words.statuses)->countOf(100);
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+w")));
    QCOMPARE((&workspace->words.statuses)->countOf(100), learned);
}

void TestLearningRun::shorterModelPutsPoolBackToFirstStep()
{
    chooseWords(2);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    QCOMPARE(window->currentPage(), 1);
    const int before = exercisesDone;
    answer(false);
    QTRY_VERIFY(exercisesDone > before);
    const QList<int> pool = (&workspace->words.questions)->list();
    QVERIFY((&workspace->words.statuses)->status(pool.first()) == 6 || (&workspace->words.statuses)->status(pool.last()) == 6);

    // The model in force has four steps; a one-step user model is shorter.
    workspace->settings.mdUserModel = {2};
    workspace->settings.mdModelIndex = 8;
    QTimer::singleShot(0, window.get(), [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->reject();
    });
    QMetaObject::invokeMethod(window.get(), "showModelDialog");
    QCOMPARE(workspace->settings.learningModel, (QList<QVariant>{2}));
    for (int key : pool)
        QCOMPARE((&workspace->words.statuses)->status(key), 5);
    QCOMPARE(window->currentPage(), 2);
}

void TestLearningRun::clearingStatusesDuringARunEndsIt()
{
    for (int key : {6, 7, 8, 9})
        (&workspace->words.statuses)->setStatus(key, 100);
    chooseWords(2);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    QVERIFY(window->currentPage() != 0);
    const QList<int> pool = (&workspace->words.questions)->list();
    BoxAnswerer answerer(QMessageBox::Yes);
    QMetaObject::invokeMethod(window.get(), "clearStatuses");
    QCOMPARE(window->currentPage(), 0);
    for (int key : pool)
        QCOMPARE((&workspace->words.statuses)->status(key), 0);
    QCOMPARE((&workspace->words.statuses)->countOf(100), 4);
}

void TestLearningRun::returnOrEscapeDoNotClearStatuses_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestLearningRun::returnOrEscapeDoNotClearStatuses()
{
    (&workspace->words.statuses)->setStatuses({0, 1, 2}, 100);
    QCOMPARE(window->currentPage(), 0);
    const int learned = (&workspace->words.statuses)->countOf(100);
    QFETCH(int, key);
    QTimer::singleShot(50, this, [key] {
        if (QWidget* box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key(key));
    });
    QMetaObject::invokeMethod(window.get(), "clearStatuses");
    QCOMPARE((&workspace->words.statuses)->countOf(100), learned);
}

void TestLearningRun::abandonedExerciseNeverFinishes()
{
    // Card lessons only; their answer waits for the pause before finishing.
    workspace->settings.learningModel = {3, 3, 3};
    const int pause = 50;
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(pause));
    chooseWords(2);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    QCOMPARE(window->currentPage(), 3);
    const int before = exercisesDone;
    answer(false);
    // Marking the word learned abandons the answered exercise and moves on.
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+w")));
    // The abandoned exercise's pause would have run out before this one,
    // started after it and twice as long.
    QTimer later;
    later.setSingleShot(true);
    QSignalSpy laterSpy(&later, &QTimer::timeout);
    later.start(2 * pause);
    QVERIFY(laterSpy.wait());
    QCOMPARE(exercisesDone, before);
    QCOMPARE(window->currentPage(), 3);
    const int other = (&workspace->words.questions)->current();
    QCOMPARE((&workspace->words.statuses)->status(other), 5);
}

void TestLearningRun::reviewRunRemembersOneAndRelearnsTheOther()
{
    BoxAnswerer answerer(QMessageBox::Ok);
    const QString dic = dictionary + QStringLiteral(".dic");
    const QString other = QFileInfo(dictionary).path() + QStringLiteral("/other.dic");
    writeNumbersDictionary(other);
    // "nine" and "ten" were learned ten days ago, so they are due now.
    (&workspace->words.statuses)->setStatus(8, 100);
    (&workspace->words.statuses)->setStatus(9, 100);
    window->openFile(other);
    ReviewSchedule past;
    past.sync({{"nine", 100}, {"ten", 100}}, QDate::currentDate().addDays(-10));
    QCOMPARE(past.save(dic), QString());
    window->openFile(dic);
    const QByteArray dicBefore = readFile(dic);
    const QByteArray infBefore = readFile(dictionary + QStringLiteral(".inf"));
    QCOMPARE(window->reviewSchedule().due(QDate::currentDate()).size(), 2);

    workspace->settings.learningModel = {2, 4};
    const int learnedBefore = workspace->settings.learnedCount;
    window->startReview();
    QCOMPARE(window->currentPage(), 4);
    const QString forgotten = (&workspace->words.units)->word((&workspace->words.questions)->current());
    bool first = true;
    for (int exercises = 0; window->currentPage() != 0 && exercises < 20; ++exercises) {
        const int before = exercisesDone;
        answer(first);
        first = false;
        QTRY_VERIFY_WITH_TIMEOUT(exercisesDone > before, 2000);
    }
    QCOMPARE(window->currentPage(), 0);
    QVERIFY(answerer.texts.last().contains(QStringLiteral("Повторено и вспомнено: <b>1")));
    QVERIFY(answerer.texts.last().contains(QStringLiteral("Забыто и выучено заново: <b>1")));
    QVERIFY(!answerer.texts.last().contains(QStringLiteral("изучили")));
    // The word forgotten and learned again was no new word.
    QCOMPARE(workspace->settings.learnedCount, learnedBefore);
    const QString remembered = forgotten == QLatin1String("nine") ? QStringLiteral("ten") : QStringLiteral("nine");
    const ReviewSchedule::Card right = window->reviewSchedule().card(remembered);
    QCOMPARE(right.reviews, 1);
    QVERIFY(right.due > QDate::currentDate());
    QCOMPARE(window->reviewSchedule().card(forgotten).lapses, 1);
    // Both learned again: the dictionary's own files are as they were.
    QCOMPARE(readFile(dic), dicBefore);
    QCOMPARE(readFile(dictionary + QStringLiteral(".inf")), infBefore);
    QVERIFY(window->reviewSchedule().due(QDate::currentDate()).isEmpty());
}

void TestLearningRun::interruptedReviewKeepsWordsLearned_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("window closed") << QStringLiteral("close");
    QTest::newRow("terminated") << QStringLiteral("terminate");
    QTest::newRow("dictionary switched") << QStringLiteral("switch");
}

void TestLearningRun::interruptedReviewKeepsWordsLearned()
{
    QFETCH(QString, how);
    BoxAnswerer answerer(QMessageBox::Ok);
    const QString dic = dictionary + QStringLiteral(".dic");
    const QString other = QFileInfo(dictionary).path() + QStringLiteral("/other.dic");
    writeNumbersDictionary(other);
    // Five words learned 90 days ago, all due.
    const QList<int> learned{5, 6, 7, 8, 9};
    for (int key : learned)
        (&workspace->words.statuses)->setStatus(key, 100);
    window->openFile(other);
    ReviewSchedule past;
    past.sync({{"six", 100}, {"seven", 100}, {"eight", 100}, {"nine", 100}, {"ten", 100}},
              QDate::currentDate().addDays(-90));
    QCOMPARE(past.save(dic), QString());
    window->openFile(dic);
    const QByteArray dicBefore = readFile(dic);
    const QByteArray infBefore = readFile(dictionary + QStringLiteral(".inf"));

    workspace->settings.learningModel = {2, 4};
    window->startReview();
    QVERIFY(window->currentPage() != 0);
    const QString answered = (&workspace->words.units)->word((&workspace->words.questions)->current());
    const int before = exercisesDone;
    answer(false);
    QTRY_VERIFY_WITH_TIMEOUT(exercisesDone > before, 2000);
    QVERIFY(window->currentPage() != 0);

    if (how == QLatin1String("close")) {
        window->close();
        window->show();
    } else if (how == QLatin1String("terminate")) {
        window->saveAndQuit();
    } else {
        for (QAction* action : window->findChildren<QAction*>())
            if (action->text() == QLatin1String("other") && action->isVisible())
                action->trigger();
        QCOMPARE(window->currentPage(), 0);
    }

    // The words not yet asked are still learned and still due; the answer
    // given is in the schedule.
    QCOMPARE(readFile(dic), dicBefore);
    QCOMPARE(readFile(dictionary + QStringLiteral(".inf")), infBefore);
    ReviewSchedule saved;
    QCOMPARE(saved.load(dic), QString());
    QCOMPARE(saved.card(answered).reviews, 1);
    QCOMPARE(saved.due(QDate::currentDate()).size(), 4);
    QVERIFY(!saved.due(QDate::currentDate()).contains(answered));

    if (window->currentPage() != 0) {
        // The run goes on after a save that did not end it.
        QCOMPARE((&workspace->words.questions)->count(), 4);
        for (QAction* action : window->findChildren<QAction*>())
            if (action->text() == QLatin1String("other") && action->isVisible())
                action->trigger();
    }
    window->openFile(dic);
    QCOMPARE(window->reviewSchedule().due(QDate::currentDate()).size(), 4);
}

void TestLearningRun::closingSavesFiles()
{
    BoxAnswerer answerer(QMessageBox::Ok);
    chooseWords(1);
    QTest::mouseClick(childWithText<QPushButton>(window->lesson(0), QStringLiteral("Начать изучение")),
                      Qt::LeftButton);
    for (int exercises = 0; window->currentPage() != 0 && exercises < 20; ++exercises) {
        const int before = exercisesDone;
        answer(exercises == 1);
        QTRY_VERIFY_WITH_TIMEOUT(exercisesDone > before, 2000);
    }
    QCOMPARE(window->currentPage(), 0);
    for (int key : {6, 7, 8})
        (&workspace->words.statuses)->setStatus(key, 100);
    const int total = workspace->settings.learnedCount;
    window->close();
    QFile inf(dictionary + QStringLiteral(".inf"));
    QVERIFY(inf.open(QIODevice::ReadOnly));
    const QList<int> saved = DictionaryFormat::readIntList(inf.readAll());
    QCOMPARE(saved.size(), 11);
    QCOMPARE(saved.first(), 999);
    QCOMPARE(saved.count(100), 4);
    QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    QCOMPARE(s.value(QStringLiteral("learnedCount")).toInt(), total);
    QCOMPARE(s.value(QStringLiteral("mistakesCount")).toInt(), mistakesMade);
}

VOCABRIUM_TEST_MAIN(TestLearningRun)
#include "tst_learningrun.moc"
