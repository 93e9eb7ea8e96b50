#include <memory>
#include <QApplication>
#include <QAbstractEventDispatcher>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "config/settings.h"
#include "editing/translationprogressdialog.h"
#include "editing/translations.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"
#include "tests/translatorsetup.h"
#include "tools/translationserver.h"
#include "translation/translator.h"

namespace {

const QStringList englishWords = {
    QStringLiteral("time"), QStringLiteral("year"), QStringLiteral("day"),
    QStringLiteral("week"), QStringLiteral("month"), QStringLiteral("hour"),
    QStringLiteral("minute"), QStringLiteral("morning"), QStringLiteral("evening"),
    QStringLiteral("night")};
const QStringList russianWords = {
    QStringLiteral("время"), QStringLiteral("год"), QStringLiteral("день"),
    QStringLiteral("неделя"), QStringLiteral("месяц"), QStringLiteral("час"),
    QStringLiteral("минута"), QStringLiteral("утро"), QStringLiteral("вечер"),
    QStringLiteral("ночь")};

// Presses "Прервать" of the modal progress dialog once \a ready holds.
void abortWhen(std::function<bool()> ready)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, ready] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || !ready())
            return;
        poll->deleteLater();
        QCOMPARE(progress->labelText(), QStringLiteral("Перевод слов..."));
        const auto buttons = progress->findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            if (button->text() == QStringLiteral("Прервать"))
                button->click();
        }
    });
    poll->start(5);
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void batchWithAllAnswersEndsByItself_data();
    void batchWithAllAnswersEndsByItself();
    void abortKeepsReceivedTranslations_data();
    void abortKeepsReceivedTranslations();
    void answersOfAnAbortedBatchDoNotEndTheNext();
    void repeatedAndCaseVariantWordsGetTheirOwnAnswers();
    void emptyBatchSendsNothing();
    void progressDialogStaysHiddenUntilABatchRuns();
    void waitingUsesNextToNoProcessorTime();

private:
    static void addDirections();

    // One server with its word list for the whole run; init() resets how it answers.
    TranslationServer server;
};

void TestTranslations::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    QVERIFY(server.listen());
}

void TestTranslations::init()
{
    workspace = std::make_unique<Workspace>();
    useOnlyV2Service(workspace.get(), server.url(), 5000);
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");
    server.reset();
}

void TestTranslations::cleanup()
{
    workspace.reset();
}

void TestTranslations::batchWithAllAnswersEndsByItself_data()
{
    addDirections();
}

void TestTranslations::addDirections()
{
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("translations");

    QTest::newRow("standard") << false << englishWords << russianWords;
    QTest::newRow("reverse") << true << russianWords << englishWords;
}

void TestTranslations::batchWithAllAnswersEndsByItself()
{
    QFETCH(bool, reverse);
    QFETCH(QStringList, words);
    QFETCH(QStringList, translations);
    // Answers arrive out of order: the first word's comes last.
    server.hold(words.first());

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    int highest = 0;
    QString shown;
    QProgressBar* bar = progress.findChild<QProgressBar*>();
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        highest = qMax(highest, value);
        if (value == 9)
            server.release(words.first());
        if (value == 10)
            shown = bar->text();
    });
    QVERIFY(progress.run(&batch, words, reverse));

    QCOMPARE(highest, 10);
    // Counted in words, not percent.
    QCOMPARE(shown, QStringLiteral("10 из 10"));
    QCOMPARE(batch.count(), 10);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(batch.translation(i), translations.at(i));
    QVERIFY(!progress.isVisible());
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE(workspace->settings.interfaceLanguage, QStringLiteral("ru"));
    const auto items = TranslationServer::queryItems(server.requests().first());
    QCOMPARE(items.value(QStringLiteral("from")), reverse ? QStringLiteral("ru") : QStringLiteral("en"));
    QCOMPARE(items.value(QStringLiteral("to")), reverse ? QStringLiteral("en") : QStringLiteral("ru"));
}

void TestTranslations::abortKeepsReceivedTranslations_data()
{
    addDirections();
}

void TestTranslations::abortKeepsReceivedTranslations()
{
    QFETCH(bool, reverse);
    QFETCH(QStringList, words);
    QFETCH(QStringList, translations);
    // The first three answer at once, the other seven are held back.
    for (int i = 3; i < words.size(); ++i)
        server.hold(words.at(i));

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    abortWhen([&] { return batch.count() >= 3; });
    QVERIFY(!progress.run(&batch, words, reverse));

    QCOMPARE(batch.count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(batch.translation(i), translations.at(i));
    for (int i = 3; i < words.size(); ++i)
        QCOMPARE(batch.translation(i), QString());
    QVERIFY(!progress.isVisible());
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE(workspace->settings.interfaceLanguage, QStringLiteral("ru"));

    // The rest still comes in and is filed, for whoever asks later.
    for (int i = 3; i < words.size(); ++i)
        server.release(words.at(i));
    QTRY_COMPARE_WITH_TIMEOUT(batch.count(), 10, 5000);
    QCOMPARE(batch.translation(9), translations.at(9));
}

void TestTranslations::answersOfAnAbortedBatchDoNotEndTheNext()
{
    const QStringList late = {QStringLiteral("time"), QStringLiteral("year")};
    for (const QString& word : late + QStringList{QStringLiteral("week")})
        server.hold(word);

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    abortWhen([&] { return server.requests().size() == late.size(); });
    QVERIFY(!progress.run(&batch, late, false));

    // The two late answers of the first batch are sent while the second
    // waits for "week"; they must neither count for it nor end it before
    // "week" has its answer. That one comes once the first batch's
    // translator, which asked for them, is gone.
    const QPointer<Translator> first = batch.findChild<Translator*>();
    QVERIFY(first);
    bool lateSent = false;
    QTimer steps;
    connect(&steps, &QTimer::timeout, this, [&] {
        if (!lateSent && server.requests().size() == 4 && batch.count() == 1) {
            lateSent = true;
            for (const QString& word : late)
                server.release(word);
        } else if (lateSent && !first) {
            server.release(QStringLiteral("week"));
        }
    });
    steps.start(5);
    QVERIFY(progress.run(&batch, {QStringLiteral("day"), QStringLiteral("week")}, false));
    QVERIFY(lateSent);
    QCOMPARE(batch.count(), 2);
    QCOMPARE(batch.translation(0), QStringLiteral("день"));
    QCOMPARE(batch.translation(1), QStringLiteral("неделя"));
    QCOMPARE(batch.translation(-1), QString());
}

void TestTranslations::repeatedAndCaseVariantWordsGetTheirOwnAnswers()
{
    const QStringList words = {QStringLiteral("time"), QStringLiteral("Time"), QStringLiteral("time")};
    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    QVERIFY(progress.run(&batch, words, false));
    QCOMPARE(server.requests().size(), 3);
    QCOMPARE(batch.count(), 3);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(batch.translation(i), QStringLiteral("время"));
}

void TestTranslations::progressDialogStaysHiddenUntilABatchRuns()
{
    // The words-from-text dialog creates its progress dialog up front; it
    // must not pop up over the main window on its own.
    QWidget owner;
    owner.show();
    TranslationProgressDialog dialog(&owner);
    QVERIFY(fireRunningTimers(&dialog));
    QVERIFY(!dialog.isVisible());
}

void TestTranslations::emptyBatchSendsNothing()
{
    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    QVERIFY(progress.run(&batch, QStringList(), true));
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    // A batch of one word after it: the server hears of that word alone.
    QVERIFY(progress.run(&batch, {QStringLiteral("time")}, false));
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(TranslationServer::queryItems(server.requests().first()).value(QStringLiteral("text")),
             QStringLiteral("time"));
}

void TestTranslations::waitingUsesNextToNoProcessorTime()
{
    // The wait must sleep, not spin: with every answer held back, the event
    // loop comes to a point where it may block. Only then are the answers
    // sent; a wait that spun over the event queue would never get there,
    // and a guard lets them go after all so that the test cannot hang.
    const QStringList words = englishWords.mid(0, 5);
    for (const QString& word : words)
        server.hold(word);
    bool blocked = false;
    const auto releaseAll = [&] {
        for (const QString& word : words)
            server.release(word);
    };
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QMetaObject::Connection waiting;
    const QMetaObject::Connection asked = connect(&server, &TranslationServer::requestReceived, this, [&] {
        if (server.requests().size() < words.size())
            return;
        waiting = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [&] {
            disconnect(waiting);
            blocked = true;
            releaseAll();
        });
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, releaseAll);
    guard.start(10000);

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    QVERIFY(progress.run(&batch, words, false));
    disconnect(asked);
    disconnect(waiting);
    QVERIFY(blocked);
    QCOMPARE(batch.count(), words.size());
}

VOCABRIUM_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
