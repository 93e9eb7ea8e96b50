#include <memory>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocument>

#include "app/progresschart.h"
#include "app/statustexts.h"
#include "model/wordcount.h"
#include "testenvironment.h"

class TestSettings : public QObject
{
    Q_OBJECT

    // Each test function starts from a fresh object and an empty store.
    Settings settings;

private slots:
    void init();
    void firstStartWritesTheKeysEarlierCopiesRead_data();
    void firstStartWritesTheKeysEarlierCopiesRead();
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
    settings = Settings();
}

void TestSettings::firstStartWritesTheKeysEarlierCopiesRead_data()
{
    // Older copies of the program read these keys with these values; a
    // renamed key or a changed default would lose the learner's settings
    // or change the program they know.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    const QString home = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries/");
    const auto row = [](const char* key, const QVariant& value) {
        QTest::newRow(key) << QString::fromLatin1(key) << value;
    };
    row("MW_toolBar", true);
    row("MW_statusBar", true);
    row("MW_finderBar", false);
    row("MW_alwaysOnTop", false);
    row("MW_size", QSize(400, 400));
    row("MW_pos", QPoint(250, 250));
    row("ED_transcription", false);
    row("ED_translation", true);
    row("UMD_stem", false);
    row("UMD_translate", false);
    row("UMD_excludeLearned", true);
    row("UMD_toLower", true);
    row("UMD_standardDirection", false);
    row("UD_primaryLanguage", 67699721);
    row("UD_secondaryLanguage", 68748313);
    row("MD_modelIndex", 0);
    row("speak", true);
    row("transcription", true);
    row("model", QList<QVariant>{1, 2, 2, 3, 2, 4, 2, 4});
    row("fileName", QString(home + QStringLiteral("default")));
    row("transcriptionFileName", QStringLiteral("English"));
    row("interfaceLanguage", QStringLiteral("ru"));
    row("learningLanguage", QStringLiteral("en"));
    row("style", QStringLiteral("cleanlooks"));
    row("interfaceFontFamily", QStringLiteral("Sans Serif"));
    row("interfaceFontSize", 10);
    row("lessonFontFamily", QStringLiteral("Sans Serif"));
    row("lessonFontSize", 12);
    row("learnedCount", 0);
    row("mistakesCount", 0);
    row("reviewedCount", 0);
    row("ED_size", QSize(720, 520));
    row("reviewRetention", 0.9);
    row("learningTime", QTime(0, 0));
    row("learningSeconds", 0);
}

void TestSettings::firstStartWritesTheKeysEarlierCopiesRead()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    settings.read();
    QVERIFY(settings.write());
    const QSettings written = store();
    QVERIFY(written.contains(key));
    QVariant stored = written.value(key);
    QVERIFY(stored.convert(value.metaType()));
    QCOMPARE(stored, value);
}

void TestSettings::valuesSurviveARoundTrip()
{
    settings.read();
    settings.mwFinderBar = true;
    settings.mwSize = QSize(640, 480);
    settings.mwPos = QPoint(10, 20);
    settings.umdStandardDirection = true;
    settings.udPrimaryLanguage = 1234;
    settings.mdUserModel = {4, 3};
    settings.transcriptionEnabled = false;
    settings.learningModel = {2, 4};
    settings.currentFileName = QStringLiteral("/tmp/x/мой словарь");
    settings.recentFiles = {QStringLiteral("/a.dic"), QStringLiteral("/b.dic")};
    settings.learningLanguage = QStringLiteral("de");
    settings.styleName = QStringLiteral("plastique");
    settings.lessonFont.setFamily(QStringLiteral("DejaVu Serif"));
    settings.lessonFont.setPointSize(17);
    settings.learnedCount = 31;
    settings.mistakesCount = 7;
    settings.learningTime = 26 * 3600 + 5 * 60 + 10;
    settings.write();

    settings.mwFinderBar = false;
    settings.learningModel.clear();
    settings.lessonFont = QFont();
    settings.learnedCount = 0;
    settings.read();

    QVERIFY(settings.mwFinderBar);
    QCOMPARE(settings.mwSize, QSize(640, 480));
    QCOMPARE(settings.mwPos, QPoint(10, 20));
    QVERIFY(settings.umdStandardDirection);
    QCOMPARE(settings.udPrimaryLanguage, 1234);
    QCOMPARE(settings.mdUserModel, (QList<QVariant>{4, 3}));
    QVERIFY(!settings.transcriptionEnabled);
    QCOMPARE(settings.learningModel, (QList<QVariant>{2, 4}));
    QCOMPARE(settings.currentFileName, QStringLiteral("/tmp/x/мой словарь"));
    QCOMPARE(settings.recentFiles, (QStringList{"/a.dic", "/b.dic"}));
    QCOMPARE(settings.learningLanguage, QStringLiteral("de"));
    QCOMPARE(settings.styleName, QStringLiteral("plastique"));
    QCOMPARE(settings.lessonFont.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(settings.lessonFont.pointSize(), 17);
    QCOMPARE(settings.learnedCount, 31);
    QCOMPARE(settings.mistakesCount, 7);
    QCOMPARE(settings.learningTime, 26 * 3600 + 5 * 60 + 10);
    // Older copies find the time of day they always read.
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vocabrium"),
                    QStringLiteral("Vocabrium"));
    QCOMPARE(store.value(QStringLiteral("learningTime")).toTime(), QTime(2, 5, 10));
    // And a store of an older copy is read as the duration it holds.
    store.remove(QStringLiteral("learningSeconds"));
    store.sync();
    settings.read();
    QCOMPARE(settings.learningTime, 2 * 3600 + 5 * 60 + 10);
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
    settings.read();
    QCOMPARE(settings.learningModel, expected);
    QVERIFY(settings.modelLength() >= 1);
}

void TestSettings::singleStepModelIsKept()
{
    {
        QSettings s = store();
        s.setValue(QStringLiteral("model"), QList<QVariant>{3});
    }
    settings.read();
    QCOMPARE(settings.modelLength(), 1);
    QCOMPARE(settings.modelStep(0), 3);
    QCOMPARE(settings.modelStep(7), 3);
}

void TestSettings::storeIsNamedAfterTheProgram()
{
    settings.read();
    settings.write();
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
