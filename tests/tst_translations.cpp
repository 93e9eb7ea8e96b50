#include <memory>
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <ctime>

#include "config/settings.h"
#include "editing/translationprogressdialog.h"
#include "editing/translations.h"
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

    // The settings, words and tables this test run works on; built first,
    // as the members below may point into it.
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();

private slots:
    void initTestCase();
    void init();

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

    TranslationServer server;
};

void TestTranslations::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    QVERIFY(server.listen());
}

void TestTranslations::init()
{
    useOnlyV2Service(workspace.get(), server.url(), 5000);
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");
    server.setDelay(0);
    server.setFault(TranslationServer::Fault::None);
    server.clearRequests();
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
    // Answers arrive out of order: the first word is the slowest.
    server.setDelay(150, words.first());

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    int highest = 0;
    QString shown;
    QProgressBar* bar = progress.findChild<QProgressBar*>();
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        highest = qMax(highest, value);
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
    // The first three answer at once, the other seven take their time.
    server.setDelay(700);
    for (int i = 0; i < 3; ++i)
        server.setDelay(0, words.at(i));

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
    QTRY_COMPARE_WITH_TIMEOUT(batch.count(), 10, 5000);
    QCOMPARE(batch.translation(9), translations.at(9));
}

void TestTranslations::answersOfAnAbortedBatchDoNotEndTheNext()
{
    server.setDelay(200, QStringLiteral("time"));
    server.setDelay(200, QStringLiteral("year"));
    server.setDelay(800, QStringLiteral("week"));

    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    abortWhen([] { return true; });
    QVERIFY(!progress.run(&batch, {QStringLiteral("time"), QStringLiteral("year")}, false));

    // The two late answers of the first batch arrive while the second waits;
    // they must neither count for it nor end it before "week" has its answer.
    QVERIFY(progress.run(&batch, {QStringLiteral("day"), QStringLiteral("week")}, false));
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
    // QProgressDialog's own timer shows it four seconds after construction:
    // whatever timer is still running is fired now instead of waited for.
    for (QTimer* timer : dialog.findChildren<QTimer*>())
        if (timer->isActive())
            QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCoreApplication::processEvents();
    QVERIFY(!dialog.isVisible());
}

void TestTranslations::emptyBatchSendsNothing()
{
    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    QVERIFY(progress.run(&batch, QStringList(), true));
    QTest::qWait(50);
    QVERIFY(server.requests().isEmpty());
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
}

void TestTranslations::waitingUsesNextToNoProcessorTime()
{
    // Answers held back for a second: the wait must sleep, not spin.
    server.setDelay(1000);
    TranslationProgressDialog progress;
    Translations batch(workspace.get());
    QElapsedTimer wall;
    wall.start();
    const std::clock_t start = std::clock();
    QVERIFY(progress.run(&batch, englishWords.mid(0, 5), false));
    const double cpuMs = double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC;
    QVERIFY(wall.elapsed() >= 900);
    QVERIFY2(cpuMs < 0.3 * double(wall.elapsed()),
             qPrintable(QStringLiteral("%1 ms processor time in %2 ms").arg(cpuMs).arg(wall.elapsed())));
}

VOCABRIUM_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
