#include <memory>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocument>

#include "app/progresschart.h"
#include "app/statustexts.h"
#include "model/wordcount.h"
#include "session/workspace.h"
#include "testenvironment.h"

class TestSettings : public QObject
{
    Q_OBJECT

    // The settings, words and tables this test run works on; built first,
    // as the members below may point into it.
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();

private slots:
    void init();
    void emptyStoreGivesDefaults();
    void valuesSurviveARoundTrip();
    void brokenModelFallsBackToDefault_data();
    void brokenModelFallsBackToDefault();
    void singleStepModelIsKept();
    void storeIsNamedAfterTheProgram();

    void percentage_data();
    void percentage();
    void statusBarTexts();
    void countedTexts_data();
    void countedTexts();
    void chartCountsAreWholeNumbers_data();
    void chartCountsAreWholeNumbers();

private:
    static QSettings store()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    }
};

void TestSettings::init()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    s.clear();
    s.sync();
}

void TestSettings::emptyStoreGivesDefaults()
{
    workspace->settings.read();
    QCOMPARE(workspace->settings.dictionariesPath, QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries/"));
    QVERIFY(workspace->settings.mwToolBar);
    QVERIFY(workspace->settings.mwStatusBar);
    QVERIFY(!workspace->settings.mwFinderBar);
    QVERIFY(!workspace->settings.mwAlwaysOnTop);
    QCOMPARE(workspace->settings.mwSize, QSize(400, 400));
    QCOMPARE(workspace->settings.mwPos, QPoint(250, 250));
    QVERIFY(!workspace->settings.edTranscription);
    QVERIFY(workspace->settings.edTranslation);
    QVERIFY(!workspace->settings.umdStem);
    QVERIFY(!workspace->settings.umdTranslate);
    QVERIFY(workspace->settings.umdExcludeLearned);
    QVERIFY(workspace->settings.umdToLower);
    QVERIFY(!workspace->settings.umdStandardDirection);
    QCOMPARE(workspace->settings.udPrimaryLanguage, 67699721);
    QCOMPARE(workspace->settings.udSecondaryLanguage, 68748313);
    QCOMPARE(workspace->settings.mdModelIndex, 0);
    QVERIFY(workspace->settings.mdUserModel.isEmpty());
    QVERIFY(workspace->settings.speakEnabled);
    QVERIFY(workspace->settings.transcriptionEnabled);
    QCOMPARE(workspace->settings.learningModel, (QList<QVariant>{1, 2, 2, 3, 2, 4, 2, 4}));
    QCOMPARE(workspace->settings.currentFileName, workspace->settings.dictionariesPath + QStringLiteral("default"));
    QCOMPARE(workspace->settings.transcriptionFileName, QStringLiteral("English"));
    QVERIFY(workspace->settings.recentFiles.isEmpty());
    QCOMPARE(workspace->settings.interfaceLanguage, QStringLiteral("ru"));
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE(workspace->settings.styleName, QStringLiteral("cleanlooks"));
    QCOMPARE(workspace->settings.interfaceFont.family(), QStringLiteral("Sans Serif"));
    QCOMPARE(workspace->settings.interfaceFont.pointSize(), 10);
    QCOMPARE(workspace->settings.lessonFont.family(), QStringLiteral("Sans Serif"));
    QCOMPARE(workspace->settings.lessonFont.pointSize(), 12);
    QCOMPARE(workspace->settings.learnedCount, 0);
    QCOMPARE(workspace->settings.mistakesCount, 0);
    QCOMPARE(workspace->settings.learningTime, 0);
}

void TestSettings::valuesSurviveARoundTrip()
{
    workspace->settings.read();
    workspace->settings.mwFinderBar = true;
    workspace->settings.mwSize = QSize(640, 480);
    workspace->settings.mwPos = QPoint(10, 20);
    workspace->settings.umdStandardDirection = true;
    workspace->settings.udPrimaryLanguage = 1234;
    workspace->settings.mdUserModel = {4, 3};
    workspace->settings.transcriptionEnabled = false;
    workspace->settings.learningModel = {2, 4};
    workspace->settings.currentFileName = QStringLiteral("/tmp/x/мой словарь");
    workspace->settings.recentFiles = {QStringLiteral("/a.dic"), QStringLiteral("/b.dic")};
    workspace->settings.learningLanguage = QStringLiteral("de");
    workspace->settings.styleName = QStringLiteral("plastique");
    workspace->settings.lessonFont.setFamily(QStringLiteral("DejaVu Serif"));
    workspace->settings.lessonFont.setPointSize(17);
    workspace->settings.learnedCount = 31;
    workspace->settings.mistakesCount = 7;
    workspace->settings.learningTime = 26 * 3600 + 5 * 60 + 10;
    workspace->settings.write();

    workspace->settings.mwFinderBar = false;
    workspace->settings.learningModel.clear();
    workspace->settings.lessonFont = QFont();
    workspace->settings.learnedCount = 0;
    workspace->settings.read();

    QVERIFY(workspace->settings.mwFinderBar);
    QCOMPARE(workspace->settings.mwSize, QSize(640, 480));
    QCOMPARE(workspace->settings.mwPos, QPoint(10, 20));
    QVERIFY(workspace->settings.umdStandardDirection);
    QCOMPARE(workspace->settings.udPrimaryLanguage, 1234);
    QCOMPARE(workspace->settings.mdUserModel, (QList<QVariant>{4, 3}));
    QVERIFY(!workspace->settings.transcriptionEnabled);
    QCOMPARE(workspace->settings.learningModel, (QList<QVariant>{2, 4}));
    QCOMPARE(workspace->settings.currentFileName, QStringLiteral("/tmp/x/мой словарь"));
    QCOMPARE(workspace->settings.recentFiles, (QStringList{"/a.dic", "/b.dic"}));
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("de"));
    QCOMPARE(workspace->settings.styleName, QStringLiteral("plastique"));
    QCOMPARE(workspace->settings.lessonFont.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(workspace->settings.lessonFont.pointSize(), 17);
    QCOMPARE(workspace->settings.learnedCount, 31);
    QCOMPARE(workspace->settings.mistakesCount, 7);
    QCOMPARE(workspace->settings.learningTime, 26 * 3600 + 5 * 60 + 10);
    // Older copies find the time of day they always read.
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vocabrium"),
                    QStringLiteral("Vocabrium"));
    QCOMPARE(store.value(QStringLiteral("learningTime")).toTime(), QTime(2, 5, 10));
    // And a store of an older copy is read as the duration it holds.
    store.remove(QStringLiteral("learningSeconds"));
    store.sync();
    workspace->settings.read();
    QCOMPARE(workspace->settings.learningTime, 2 * 3600 + 5 * 60 + 10);
}

void TestSettings::brokenModelFallsBackToDefault_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QList<QVariant>>("expected");

    QTest::newRow("empty list") << QVariant(QList<QVariant>()) << defaultLearningModel();
    QTest::newRow("lesson kinds out of range")
        << QVariant(QList<QVariant>{0, 9, -1}) << defaultLearningModel();
    QTest::newRow("bad steps dropped")
        << QVariant(QList<QVariant>{3, 7, QStringLiteral("x"), 2}) << QList<QVariant>{3, 2};
    QTest::newRow("not a list") << QVariant(QStringLiteral("garbage")) << defaultLearningModel();
}

void TestSettings::brokenModelFallsBackToDefault()
{
    QFETCH(QVariant, stored);
    QFETCH(QList<QVariant>, expected);
    {
        QSettings s = store();
        s.setValue(QStringLiteral("model"), stored);
    }
    workspace->settings.read();
    QCOMPARE(workspace->settings.learningModel, expected);
    QVERIFY(workspace->settings.modelLength() >= 1);
}

void TestSettings::singleStepModelIsKept()
{
    {
        QSettings s = store();
        s.setValue(QStringLiteral("model"), QList<QVariant>{3});
    }
    workspace->settings.read();
    QCOMPARE(workspace->settings.modelLength(), 1);
    QCOMPARE(workspace->settings.modelStep(0), 3);
    QCOMPARE(workspace->settings.modelStep(7), 3);
}

void TestSettings::storeIsNamedAfterTheProgram()
{
    workspace->settings.read();
    workspace->settings.write();
    const QString path = store().fileName();
    QVERIFY2(path.endsWith(QStringLiteral("Vocabrium/Vocabrium.conf")), qPrintable(path));
    QVERIFY(path.startsWith(QDir::homePath()));
    QVERIFY(QFile::exists(path));
}

void TestSettings::percentage_data()
{
    QTest::addColumn<int>("learned");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty dictionary") << 0 << 0 << QStringLiteral("0");
    QTest::newRow("quarter") << 30 << 120 << QStringLiteral("25");
    QTest::newRow("two thirds truncates") << 2 << 3 << QStringLiteral("66");
    QTest::newRow("one third") << 1 << 3 << QStringLiteral("33");
    QTest::newRow("all") << 7 << 7 << QStringLiteral("100");
}

void TestSettings::percentage()
{
    QFETCH(int, learned);
    QFETCH(int, total);
    QFETCH(QString, expected);
    QCOMPARE(StatusTexts::percentage(learned, total), expected);
}

void TestSettings::statusBarTexts()
{
    QCOMPARE(StatusTexts::learnedLabel(30, 120),
             QStringLiteral("Изучено: <span style=\"color:blue\">30</span>/<span style=\"color:darkred\">120</span> (25%)"));
    QCOMPARE(StatusTexts::learningLabel(6),
             QStringLiteral("Изучается: <span style=\"color:darkred\">6</span>"));
    QCOMPARE(StatusTexts::progress(3, 26 * 3600 + 5 * 60 + 10, 4),
             QStringLiteral("Вы изучили: <b>3 слова</b>.<br>Общее время изучения: <b>26:05:10"
                            "</b><br>Количество ошибок: <b>4</b>"));
    // Qt's rich text shows the colours: the figures are not drawn black.
    QTextDocument document;
    document.setHtml(StatusTexts::learnedLabel(30, 120));
    QTextCursor cursor = document.find(QStringLiteral("30"));
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(Qt::blue));
}

void TestSettings::countedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1") << WordCount::text(1) << QStringLiteral("1 слово");
    QTest::newRow("3") << WordCount::text(3) << QStringLiteral("3 слова");
    QTest::newRow("5") << WordCount::text(5) << QStringLiteral("5 слов");
    QTest::newRow("11") << WordCount::text(11) << QStringLiteral("11 слов");
    QTest::newRow("21") << WordCount::text(21) << QStringLiteral("21 слово");
    QTest::newRow("104") << WordCount::text(104) << QStringLiteral("104 слова");
    QTest::newRow("114") << WordCount::text(114) << QStringLiteral("114 слов");
    QTest::newRow("past a day") << StatusTexts::durationText(90061) << QStringLiteral("25:01:01");
    LearningRun::Figures review;
    review.reviewed = 2;
    review.relearned = 3;
    review.mistakes = 3;
    review.seconds = 65;
    QTest::newRow("review run") << StatusTexts::congratulation(review)
        << QStringLiteral("Повторено и вспомнено: <b>2</b><br>Забыто и выучено заново: <b>3</b><br>"
                          "Ошибок: <b>3</b><br>Потраченное время: <b>00:01:05</b>");
    LearningRun::Figures learning;
    learning.learned = 5;
    QTest::newRow("learning run") << StatusTexts::congratulation(learning)
        << QStringLiteral("Только что вы изучили <b>5 слов!</b><br>Ошибок: <b>0</b><br>"
                          "Потраченное время: <b>00:00:00</b>");
}

void TestSettings::countedTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestSettings::chartCountsAreWholeNumbers_data()
{
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("step");
    QTest::newRow("nothing yet") << 0 << 1 << 1;
    QTest::newRow("5 words") << 5 << 5 << 1;
    QTest::newRow("7 words") << 7 << 8 << 2;
    QTest::newRow("13 words") << 13 << 15 << 5;
    QTest::newRow("98 words") << 98 << 100 << 20;
    QTest::newRow("1000 words") << 1000 << 1000 << 200;
}

void TestSettings::chartCountsAreWholeNumbers()
{
    QFETCH(int, highest);
    QFETCH(int, top);
    QFETCH(int, step);
    const CountScale scale = countScale(highest);
    QCOMPARE(scale.top, top);
    QCOMPARE(scale.step, step);
}

VOCABRIUM_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
