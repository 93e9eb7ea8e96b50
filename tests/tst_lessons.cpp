#include <memory>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "lessons/buttongroup.h"
#include "lessons/cardwidget.h"
#include "lessons/fillwidget.h"
#include "lessons/meetwidget.h"
#include "lessons/modeldialog.h"
#include "lessons/promptrules.h"
#include "lessons/selectwidget.h"
#include "lessons/writewidget.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "speech/speaker.h"
#include "dialoghelpers.h"
#include "lessons/cardstyles.h"
#include "session/workspace.h"
#include "testenvironment.h"

namespace {

// Answers the next modal box with the given button, from the event loop.
void answerNextBox(QMessageBox::StandardButton button, QString* text = nullptr)
{
    QTimer::singleShot(0, qApp, [button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}


} // namespace

class TestLessons : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the lessons that point into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fillLearnAllThatCannotStartLeavesNoChosenWordOnTheCard();
    void astralLettersAreOneCharacter_data();
    void astralLettersAreOneCharacter();
    void longTextsWrapWithoutClippingOrWidening();
    void mistakeIsMarked_data();
    void mistakeIsMarked();

    void buttonGroupKeepsOneChecked();

    void fillWalksUnchosenWords();
    void fillStartNeedsChosenWordsAndSixEntries_data();
    void fillStartNeedsChosenWordsAndSixEntries();
    void fillLearnAllAnsweredNoChangesNothing();
    void fillPastTheEndActsOnNothing();
    void reviewButtonKeepsThePageNarrow();
    void fillEscapesMarkup();

    void meetConfirmsWithEnter();

    void selectAlternatesDirections();
    void selectCountsEachWrongAnswerOnce();
    void selectJudgesByKeyNotText();
    void selectArrowKeysWalkAnswers();
    void selectKeyboardAloneReachesTheAnswer();

    void cardRecalledWithEnter();
    void cardAnswerThenForgotCountsOneMistake();

    void promptColours_data();
    void promptColours();
    void hints_data();
    void hints();
    void writeRightAnswerIgnoresCase();
    void writeTrailingSpaceIsWrong();
    void writeLastHintCountsAsAnswer();
    void writeAnswerThenCorrectIsOneStepDown();

    void modelDialogResults();
    void modelDialogRefusesEmptyUserModel();

private:
    void makeDictionary(const QStringList& words);
    void ask(int key);

    std::unique_ptr<QTemporaryDir> dir;
    Units* units = nullptr;
    Statuses* statuses = nullptr;
    Questions* questions = nullptr;
    Variants* variants = nullptr;
};

void TestLessons::initTestCase()
{
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(1));
}

void TestLessons::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = storedWorkspace();
    workspace->settings.speakEnabled = false;
    workspace->settings.transcriptionEnabled = false;
    workspace->settings.currentFileName = dir->filePath(QStringLiteral("words"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    units = (&workspace->words.units);
    statuses = (&workspace->words.statuses);
    questions = (&workspace->words.questions);
    variants = (&workspace->words.variants);
    connect(statuses, &Statuses::initial, questions, &Questions::add);
    connect(statuses, &Statuses::initial, variants, &Variants::add);
    connect(statuses, &Statuses::learned, questions, &Questions::remove);
    connect(statuses, &Statuses::unlearned, questions, &Questions::remove);
    Random::seed(7);
    workspace->settings.learningModel = defaultLearningModel();
    makeDictionary({"apple", "bread", "cheese", "dog", "egg", "fish", "grape", "house"});
}

void TestLessons::cleanup()
{
    units = nullptr;
    statuses = nullptr;
    questions = nullptr;
    variants = nullptr;
    workspace.reset();
    dir.reset();
}

void TestLessons::makeDictionary(const QStringList& words)
{
    QList<Unit> list;
    for (const QString& word : words)
        list.append({word, QStringLiteral("перевод ") + word});
    units->setUnits(list);
    statuses->setList(QList<int>(words.size(), 0));
}

void TestLessons::ask(int key)
{
    statuses->setStatus(key, 5);
    for (int k : units->keys())
        variants->add(k);
    questions->clear();
    questions->add(key);
    questions->next();
    QCOMPARE(questions->current(), key);
}

void TestLessons::buttonGroupKeepsOneChecked()
{
    ButtonGroup group;
    QList<QPushButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        buttons.append(new QPushButton);
        group.addButton(buttons.last());
    }
    QCOMPARE(group.checkedIndex(), -1);
    QSignalSpy clicked(&group, &ButtonGroup::buttonClicked);
    buttons[2]->click();
    QCOMPARE(group.checkedIndex(), 2);
    buttons[2]->click();
    QVERIFY(buttons[2]->isChecked());
    buttons[0]->click();
    QCOMPARE(group.checkedIndex(), 0);
    QVERIFY(!buttons[2]->isChecked());
    QCOMPARE(clicked.size(), 3);
    QCOMPARE(clicked.at(1).at(0).toInt(), 2);
    qDeleteAll(buttons);
}

void TestLessons::fillWalksUnchosenWords()
{
    statuses->setStatus(1, 100);
    FillWidget fill(workspace.get());
    fill.start();
    QCOMPARE(fill.currentKey(), 0);
    fill.learn();
    QCOMPARE(statuses->status(0), 5);
    QCOMPARE(fill.currentKey(), 2); // key 1 is learned and skipped
    fill.dontLearn();
    QCOMPARE(statuses->status(2), 100);
    QCOMPARE(fill.currentKey(), 3);
    QCOMPARE(questions->list(), QList<int>{0});
}

void TestLessons::fillStartNeedsChosenWordsAndSixEntries_data()
{
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing chosen") << 8 << 0 << QStringLiteral("Не выбрано ни одного слова для изучения!");
    QTest::newRow("five words") << 5 << 2 << QStringLiteral("В словаре должно быть как минимум 6 слов!");
    QTest::newRow("three of ten") << 10 << 3 << QString();
}

void TestLessons::fillStartNeedsChosenWordsAndSixEntries()
{
    QFETCH(int, words);
    QFETCH(int, chosen);
    QFETCH(QString, error);
    QStringList list;
    for (int i = 0; i < words; ++i)
        list.append(QStringLiteral("w%1").arg(i));
    makeDictionary(list);

    FillWidget fill(workspace.get());
    fill.start();
    for (int i = 0; i < chosen; ++i)
        fill.learn();
    QSignalSpy finished(&fill, &AbstractLesson::finished);
    QString shown;
    if (!error.isEmpty())
        answerNextBox(QMessageBox::Ok, &shown);
    fill.startLearning();
    QCOMPARE(shown, error);
    QCOMPARE(finished.size(), error.isEmpty() ? 1 : 0);
    if (error.isEmpty())
        QVERIFY(variants->count() >= 6);
}

void TestLessons::fillLearnAllAnsweredNoChangesNothing()
{
    statuses->setStatus(3, 7);
    FillWidget fill(workspace.get());
    fill.start();
    answerNextBox(QMessageBox::No);
    fill.learnAll();
    QCOMPARE(statuses->countOf(5), 0);

    QSignalSpy finished(&fill, &AbstractLesson::finished);
    answerNextBox(QMessageBox::Yes);
    fill.learnAll();
    QCOMPARE(statuses->countOf(5), 7);
    QCOMPARE(statuses->status(3), 7);
    QCOMPARE(finished.size(), 1);
}

void TestLessons::fillLearnAllThatCannotStartLeavesNoChosenWordOnTheCard()
{
    makeDictionary({"a", "b", "c"});
    FillWidget fill(workspace.get());
    fill.start();
    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    fill.learnAll();
    QCOMPARE(answerer.texts.last(), QStringLiteral("В словаре должно быть как минимум 6 слов!"));
    // Past the last word: the card shows the message, not a word now at 5.
    QCOMPARE(fill.currentKey(), 3);
}

void TestLessons::astralLettersAreOneCharacter_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("hinted");
    const QString apple = QString::fromUtf8("\xF0\x9F\x8D\x8E");
    QTest::newRow("alone") << apple << 0 << QStringLiteral("?") << apple;
    QTest::newRow("after a letter") << QStringLiteral("a") + apple << 1 << QStringLiteral("??")
                                    << QStringLiteral("?") + apple;
    QTest::newRow("before letters") << apple + QStringLiteral("pie") << 1 << QStringLiteral("????")
                                    << QStringLiteral("?p??");
}

void TestLessons::astralLettersAreOneCharacter()
{
    QFETCH(QString, word);
    QFETCH(int, typed);
    QFETCH(QString, mask);
    QFETCH(QString, hinted);
    QCOMPARE(PromptRules::initialPrompt(word), mask);
    QCOMPARE(PromptRules::uncoverOne(mask, word, typed), hinted);
    QCOMPARE(PromptRules::characterCount(word), mask.size());
}

void TestLessons::longTextsWrapWithoutClippingOrWidening()
{
    const QString longTranslation = QStringLiteral(
        "время после полудня, послеобеденное время, вторая половина дня, пора между обедом и вечером");
    QList<Unit> list;
    list.append({QStringLiteral("afternoon"), longTranslation});
    list.append({QString(2000, QLatin1Char('x')), longTranslation});
    for (const char* word : {"b", "c", "d", "e", "f", "g"})
        list.append({QString::fromLatin1(word), QStringLiteral("перевод")});
    units->setUnits(list);
    statuses->setList(QList<int>(list.size(), 0));
    for (int key : {0, 1}) {
        FillWidget fill(workspace.get());
        fill.resize(400, 300);
        fill.show();
        fill.start();
        if (key == 1)
            fill.dontLearn();
        QVERIFY(QTest::qWaitForWindowExposed(&fill));
        QCoreApplication::processEvents();
        // However long the word, the page does not ask for more width.
        QVERIFY(fill.minimumSizeHint().width() < 400);
        for (QLabel* label : fill.findChildren<QLabel*>()) {
            if (!label->isVisible() || !label->wordWrap())
                continue;
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
            QVERIFY(label->alignment() & Qt::AlignHCenter);
        }
        statuses->setList(QList<int>(list.size(), 0));
    }
}

void TestLessons::mistakeIsMarked_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("html");
    QTest::newRow("wrong letter") << "apqle" << "<font color=blue>ap</font><font color=red><u>q</u></font>??";
    QTest::newRow("too short") << "App" << "<font color=blue>app</font><font color=red><u>?</u></font>?";
    QTest::newRow("too long") << "apples" << "<font color=blue>apple</font><font color=red><u>s</u></font>";
    QTest::newRow("markup typed") << "<" << "<font color=blue></font><font color=red><u>&lt;</u></font>????";
}

void TestLessons::mistakeIsMarked()
{
    QFETCH(QString, typed);
    QFETCH(QString, html);
    QCOMPARE(PromptRules::mistakePrompt(QStringLiteral("?????"), typed, QStringLiteral("apple")), html);
}

void TestLessons::reviewButtonKeepsThePageNarrow()
{
    // A 400 pixel window must not need a horizontal scroll bar for it.
    FillWidget fill(workspace.get());
    fill.start();
    fill.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fill));
    const int narrow = fill.minimumSizeHint().width();
    fill.setDueCount(12345);
    QCOMPARE(fill.minimumSizeHint().width(), narrow);
}

void TestLessons::fillPastTheEndActsOnNothing()
{
    FillWidget fill(workspace.get());
    fill.start();
    for (int i = 0; i < 8; ++i)
        fill.dontLearn();
    QCOMPARE(statuses->countOf(100), 8);
    fill.learn();
    fill.dontLearn();
    QCOMPARE(statuses->countOf(100), 8);
    QCOMPARE(statuses->countOf(5), 0);
    for (int key : units->keys())
        QVERIFY(statuses->status(key) == 100);
    // After a removal the walk must not stop on the missing key either.
    makeDictionary({"a", "b", "c"});
    units->remove(1);
    statuses->remove(1);
    fill.start();
    fill.learn();
    QCOMPARE(fill.currentKey(), 2);
    fill.learn();
    QVERIFY(!units->contains(1));
    QCOMPARE(statuses->countOf(5), 2);
    QCOMPARE(statuses->status(1), 0);
}

void TestLessons::fillEscapesMarkup()
{
    makeDictionary({"a<b", "<i>x</i>"});
    FillWidget fill(workspace.get());
    fill.start();
    const auto labels = fill.findChildren<QLabel*>();
    bool found = false;
    for (QLabel* label : labels)
        found = found || label->text() == QStringLiteral("a&lt;b");
    QVERIFY(found);
}

void TestLessons::meetConfirmsWithEnter()
{
    ask(4);
    MeetWidget meet(workspace.get());
    meet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&meet));
    meet.start();
    QSignalSpy finished(&meet, &AbstractLesson::finished);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(statuses->status(4), 6);
}

void TestLessons::selectAlternatesDirections()
{
    ask(2);
    SelectWidget select(workspace.get());
    select.start();
    QVERIFY(!select.isWordMode());
    const int right = int(select.shownVariants().indexOf(2));
    QVERIFY(right >= 0);
    QCOMPARE(select.answerButton(right)->text(), units->translation(2));
    select.start();
    QVERIFY(select.isWordMode());
    // Translation question: the words are painted as images, the text stays empty.
    for (int i = 0; i < 6; ++i) {
        QVERIFY(select.answerButton(i)->text().isEmpty());
        QVERIFY(!select.answerButton(i)->icon().isNull());
        // ...but a screen reader still reads the word.
        QCOMPARE(select.answerButton(i)->accessibleName(), units->word(select.shownVariants().at(i)));
    }
}

void TestLessons::selectCountsEachWrongAnswerOnce()
{
    ask(2);
    SelectWidget select(workspace.get());
    select.start();
    QSignalSpy finished(&select, &AbstractLesson::finished);
    QSignalSpy mistakes(statuses, &Statuses::decremented);
    const QList<int> shown = select.shownVariants();
    QList<int> wrong;
    for (int i = 0; i < shown.size(); ++i)
        if (shown.at(i) != 2)
            wrong.append(i);
    select.answerButton(wrong[0])->click();
    select.answerButton(wrong[0])->click();
    select.answerButton(wrong[1])->click();
    QCOMPARE(mistakes.size(), 2);
    QCOMPARE(statuses->status(2), 3);
    select.answerButton(int(shown.indexOf(2)))->click();
    QCOMPARE(statuses->status(2), 4);
    for (int i = 0; i < 6; ++i)
        QVERIFY(!select.answerButton(i)->isEnabled());
    QVERIFY(finished.wait(2000));
    QCOMPARE(finished.size(), 1);

    // The next exercise starts clean.
    select.start();
    for (int i = 0; i < 6; ++i) {
        QVERIFY(select.answerButton(i)->isEnabled());
        QVERIFY(!select.answerButton(i)->isChecked());
        QVERIFY(select.answerButton(i)->styleSheet() != wrongAnswerStyleSheet());
    }
}

void TestLessons::selectJudgesByKeyNotText()
{
    QList<Unit> list;
    for (int i = 0; i < 8; ++i)
        list.append({QStringLiteral("w%1").arg(i), QStringLiteral("same")});
    units->setUnits(list);
    statuses->setList(QList<int>(8, 0));
    ask(5);
    SelectWidget select(workspace.get());
    select.start();
    const QList<int> shown = select.shownVariants();
    const int wrongIndex = shown.at(0) == 5 ? 1 : 0;
    select.answerButton(wrongIndex)->click();
    QCOMPARE(statuses->status(5), 4);
}

void TestLessons::selectArrowKeysWalkAnswers()
{
    ask(1);
    SelectWidget select(workspace.get());
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    select.activateWindow();
    select.start();
    QWidget* first = QApplication::focusWidget();
    QVERIFY(first);
    QTest::keyClick(first, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), select.answerButton(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), select.answerButton(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), select.answerButton(0));

    // A digit picks its row wherever the focus is: a wrong row is counted
    // once, the right one ends the exercise.
    const int right = int(select.shownVariants().indexOf(1));
    const int wrong = right == 0 ? 1 : 0;
    statuses->setStatus(1, 5);
    QSignalSpy finished(&select, &AbstractLesson::finished);
    QTest::keyClick(QApplication::focusWidget(), char('1' + wrong));
    QTest::keyClick(QApplication::focusWidget(), char('1' + wrong));
    QCOMPARE(statuses->status(1), 4);
    QTest::keyClick(QApplication::focusWidget(), char('1' + right));
    QCOMPARE(statuses->status(1), 5);
    QVERIFY(finished.wait(2000));
}

void TestLessons::selectKeyboardAloneReachesTheAnswer()
{
    // Down to the first answer, then Enter until the right one: each wrong
    // pick must hand the focus to the next answer still open.
    SelectWidget select(workspace.get());
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    select.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&select));
    QSet<int> positions;
    for (int seed = 1; seed <= 12; ++seed) {
        Random::seed(seed);
        statuses->setStatus(6, 5);
        ask(6);
        select.start();
        QSignalSpy finished(&select, &AbstractLesson::finished);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        const int right = int(select.shownVariants().indexOf(6));
        positions.insert(right);
        for (int i = 0; i <= right; ++i) {
            QCOMPARE(QApplication::focusWidget(), select.answerButton(i));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(statuses->status(6), qMax(1, 5 - right) + 1);
        QVERIFY(finished.wait(2000));
    }
    QVERIFY(positions.size() > 2);
}

void TestLessons::cardRecalledWithEnter()
{
    ask(3);
    CardWidget card(workspace.get());
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    card.start();
    QSignalSpy finished(&card, &AbstractLesson::finished);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(statuses->status(3), 6);
    QVERIFY(childWithText<QLabel>(&card, units->word(3)));
    QVERIFY(finished.wait(2000));
}

void TestLessons::cardAnswerThenForgotCountsOneMistake()
{
    ask(3);
    CardWidget card(workspace.get());
    card.start();
    QVERIFY(childWithText<QLabel>(&card, QStringLiteral("???")));
    QSignalSpy mistakes(statuses, &Statuses::decremented);
    QPushButton* answer = childWithText<QPushButton>(&card, QStringLiteral("Ответ"));
    answer->click();
    QVERIFY(!answer->isEnabled());
    answer->click();
    childWithText<QPushButton>(&card, QStringLiteral("Забыл"))->click();
    QCOMPARE(mistakes.size(), 1);
    QCOMPARE(statuses->status(3), 4);
}

void TestLessons::promptColours_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("html");

    QTest::newRow("nothing typed") << 0 << QStringLiteral("<font color=blue></font>?????");
    QTest::newRow("two typed") << 2 << QStringLiteral("<font color=blue>?\?</font>???");
    QTest::newRow("all typed") << 5 << QStringLiteral("<font color=blue>????\?</font>");
    QTest::newRow("too many") << 6 << QStringLiteral("<font color=red>????\?</font>");
}

void TestLessons::promptColours()
{
    QFETCH(int, typed);
    QFETCH(QString, html);
    QCOMPARE(PromptRules::coloredPrompt(PromptRules::initialPrompt(QStringLiteral("apple")), typed), html);
}

void TestLessons::hints_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing typed") << QStringLiteral("?????") << 0 << QStringLiteral("A????");
    QTest::newRow("two typed") << QStringLiteral("?????") << 2 << QStringLiteral("??p??");
    QTest::newRow("typed past the end") << QStringLiteral("A????") << 7 << QStringLiteral("Ap???");
    QTest::newRow("nothing hidden after typing") << QStringLiteral("??ple") << 3 << QStringLiteral("??ple");
}

void TestLessons::hints()
{
    QFETCH(QString, prompt);
    QFETCH(int, typed);
    QFETCH(QString, expected);
    QCOMPARE(PromptRules::uncoverOne(prompt, QStringLiteral("Apple"), typed), expected);
}

void TestLessons::writeRightAnswerIgnoresCase()
{
    ask(0);
    WriteWidget write(workspace.get());
    write.start();
    QSignalSpy finished(&write, &AbstractLesson::finished);
    auto* input = write.findChild<QLineEdit*>();
    QTest::keyClicks(input, QStringLiteral("APPLE"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(statuses->status(0), 6);
    QVERIFY(!input->isEnabled());
    QVERIFY(finished.wait(2000));
}

void TestLessons::writeTrailingSpaceIsWrong()
{
    ask(0);
    WriteWidget write(workspace.get());
    write.start();
    auto* input = write.findChild<QLineEdit*>();
    QTest::keyClicks(input, QStringLiteral("apple "));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(statuses->status(0), 4);
    QCOMPARE(input->text(), QStringLiteral("apple "));
    QVERIFY(input->isEnabled());
}

void TestLessons::writeLastHintCountsAsAnswer()
{
    makeDictionary({"ab", "b", "c", "d", "e", "f"});
    ask(0);
    WriteWidget write(workspace.get());
    write.start();
    QSignalSpy mistakes(statuses, &Statuses::decremented);
    QPushButton* hint = childWithText<QPushButton>(&write, QStringLiteral("Подсказка"));
    hint->click();
    QCOMPARE(mistakes.size(), 0);
    hint->click();
    QCOMPARE(mistakes.size(), 1);
    QVERIFY(!hint->isEnabled());
}

void TestLessons::writeAnswerThenCorrectIsOneStepDown()
{
    ask(0);
    WriteWidget write(workspace.get());
    write.start();
    childWithText<QPushButton>(&write, QStringLiteral("Ответ"))->click();
    auto* input = write.findChild<QLineEdit*>();
    QTest::keyClicks(input, QStringLiteral("apple"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(statuses->status(0), 4);
    QVERIFY(!input->isEnabled());
}

void TestLessons::modelDialogResults()
{
    ModelDialog dialog(&workspace->settings);
    workspace->settings.mdModelIndex = 0;
    workspace->settings.learningModel = defaultLearningModel();
    // Opened with nothing stored: the standard model replaces the default list.
    QTimer::singleShot(0, &dialog, [this, &dialog] {
        QCOMPARE(workspace->settings.learningModel, (QList<QVariant>{1, 2, 2, 3, 2, 4, 3, 4}));
        dialog.findChild<QComboBox*>()->setCurrentIndex(3); // six steps
        dialog.reject();
    });
    QCOMPARE(dialog.exec(), 1);
    QCOMPARE(workspace->settings.learningModel.size(), 6);

    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.findChild<QComboBox*>()->setCurrentIndex(1); // eleven steps
        dialog.reject();
    });
    QCOMPARE(dialog.exec(), 0);
    QCOMPARE(workspace->settings.mdModelIndex, 1);
}

void TestLessons::modelDialogRefusesEmptyUserModel()
{
    ModelDialog dialog(&workspace->settings);
    workspace->settings.mdUserModel.clear();
    workspace->settings.mdModelIndex = 8;
    QString refusal;
    QTimer::singleShot(0, &dialog, [&] {
        QCOMPARE(dialog.findChild<QListWidget*>()->count(), 0);
        answerNextBox(QMessageBox::Ok, &refusal);
        dialog.reject();
        QVERIFY(dialog.isVisible());
        // Compose 3, 3, 4 and close.
        auto boxes = dialog.findChildren<QComboBox*>();
        QComboBox* kinds = boxes.at(1);
        QPushButton* add = childWithText<QPushButton>(&dialog, QStringLiteral("Добавить"));
        QTimer::singleShot(0, &dialog, [&dialog, kinds, add] {
            kinds->setCurrentIndex(2);
            add->click();
            add->click();
            kinds->setCurrentIndex(3);
            add->click();
            dialog.reject();
        });
    });
    dialog.exec();
    QCOMPARE(refusal, QStringLiteral("Вы не добавили ни одного упражнения!"));
    QCOMPARE(workspace->settings.learningModel, (QList<QVariant>{3, 3, 4}));
    QCOMPARE(workspace->settings.mdUserModel, (QList<QVariant>{3, 3, 4}));
}

VOCABRIUM_TEST_MAIN(TestLessons)
#include "tst_lessons.moc"
