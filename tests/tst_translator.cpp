#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include "app/settings.h"
#include "tests/testenvironment.h"
#include "tools/translationserver.h"
#include "translation/translator.h"

Q_DECLARE_METATYPE(TranslationServer::Fault)

namespace {

const QString appId = QStringLiteral("0A1B2C3D4E5F60718293A4B5C6D7E8F901234567");

} // namespace

class TestTranslator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void environmentNamesTheService();
    void serverProgramAnswersTheProgram();

    void parseReply_data();
    void parseReply();
    void textReachesServerAsItself_data();
    void textReachesServerAsItself();
    void directionFollowsLanguageValues_data();
    void directionFollowsLanguageValues();
    void answersOutOfOrderKeepTheirTexts();
    void answerEqualToSourceIsEmpty_data();
    void answerEqualToSourceIsEmpty();
    void failureGivesOneEmptyAnswer_data();
    void failureGivesOneEmptyAnswer();
    void longBatchDoesNotTimeOutInTheQueue();
    void languageTable();
    void languageName_data();
    void languageName();

private:
    TranslationServer server;
    // The configuration as read from the environment, on first use.
    QUrl environmentUrl;
    QString environmentApplicationId;
    int environmentTimeout = 0;
};

void TestTranslator::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    server.addTranslation(QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("Paris"),
                          QStringLiteral("PARIS"));
    server.addTranslation(QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("Moscow"),
                          QStringLiteral("Москва"));
    QVERIFY(server.listen());

    // Configuration is read once per process, so the environment is set
    // before anything asks for it.
    qputenv("VOCABRIUM_TRANSLATOR_URL", server.url().toEncoded() + "/prefix/");
    qputenv("VOCABRIUM_TRANSLATOR_APPID", "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
    qputenv("VOCABRIUM_TRANSLATOR_TIMEOUT", "1234");
    environmentUrl = Translator::requestUrl(QStringLiteral("a"), QStringLiteral("en"),
                                            QStringLiteral("ru"));
    environmentApplicationId = Translator::applicationId();
    environmentTimeout = Translator::timeout();
}

void TestTranslator::environmentNamesTheService()
{
    QCOMPARE(environmentUrl.port(), int(server.port()));
    QCOMPARE(environmentUrl.path(), QStringLiteral("/prefix/V2/Http.svc/Translate"));
    QCOMPARE(environmentApplicationId, QStringLiteral("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"));
    QCOMPARE(environmentTimeout, 1234);

    // An address the translator cannot use leaves it on the public service.
    Translator::setServiceUrl(QUrl(QStringLiteral("ftp://example.org")));
    QCOMPARE(Translator::serviceUrl(), QUrl(QStringLiteral("http://api.microsofttranslator.com")));
}

void TestTranslator::serverProgramAnswersTheProgram()
{
    QProcess program;
    program.start(QStringLiteral(VOCABRIUM_BUILD_DIR "/vocabrium-translate-server"),
                  {QStringLiteral("--port"), QStringLiteral("0"),
                   QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")});
    QVERIFY(program.waitForReadyRead(10000));
    const QString banner = QString::fromUtf8(program.readLine()).trimmed();
    QVERIFY2(banner.startsWith(QStringLiteral("Listening on http://127.0.0.1:")), qPrintable(banner));
    Translator::setServiceUrl(QUrl(banner.section(QLatin1Char(' '), 2)));

    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(QStringLiteral("tomorrow"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.first(), QVariantList({QStringLiteral("tomorrow"), QStringLiteral("завтра")}));
    program.kill();
    program.waitForFinished();
}

void TestTranslator::init()
{
    Translator::setServiceUrl(server.url());
    Translator::setApplicationId(appId);
    Translator::setTimeout(5000);
    learningLanguage = QStringLiteral("en");
    interfaceLanguage = QStringLiteral("ru");
    server.setFault(TranslationServer::Fault::None);
    server.setDelay(0);
    server.clearRequests();
}

void TestTranslator::parseReply_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("translation");

    QTest::newRow("answer") << "house-ru.xml" << "дом";
    QTest::newRow("declaration and byte order mark") << "declaration-bom.xml" << "мороженое";
    QTest::newRow("entities") << "entities.xml" << "рок & ролл <3";
    QTest::newRow("empty element") << "empty-element.xml" << "";
    QTest::newRow("elements instead of text") << "nested.xml" << "";
    QTest::newRow("error page") << "argument-exception.html" << "";
    QTest::newRow("cut off") << "truncated.xml" << "";
    QTest::newRow("not xml") << "garbage.txt" << "";
    QTest::newRow("empty body") << "empty.txt" << "";
    QTest::newRow("two elements") << "two-roots.xml" << "";
}

void TestTranslator::parseReply()
{
    QFETCH(QString, file);
    QFETCH(QString, translation);
    QFile reply(QFINDTESTDATA(QStringLiteral("data/translator/") + file));
    QVERIFY(reply.open(QIODevice::ReadOnly));
    QCOMPARE(Translator::parseReply(reply.readAll()), translation);
}

void TestTranslator::textReachesServerAsItself_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QString>("translation");

    QTest::newRow("word") << "time" << QByteArray("time") << "время";
    QTest::newRow("space") << "ice cream" << QByteArray("ice%20cream") << "";
    QTest::newRow("cyrillic") << "дом" << QByteArray("%D0%B4%D0%BE%D0%BC") << "";
    QTest::newRow("ampersand") << "rock&roll" << QByteArray("rock%26roll") << "";
    QTest::newRow("hash") << "C#" << QByteArray("C%23") << "";
    QTest::newRow("plus") << "C++" << QByteArray("C%2B%2B") << "";
    QTest::newRow("equals") << "a=b" << QByteArray("a%3Db") << "";
    QTest::newRow("percent") << "100%" << QByteArray("100%25") << "";
    QTest::newRow("percent escape") << "%41" << QByteArray("%2541") << "";
    QTest::newRow("query delimiters") << "x&to=de&appId=1" << QByteArray("x%26to%3Dde%26appId%3D1") << "";
    QTest::newRow("untrimmed") << " time " << QByteArray("%20time%20") << "время";
}

void TestTranslator::textReachesServerAsItself()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);
    QFETCH(QString, translation);
    const QByteArray target = "/V2/Http.svc/Translate?appId=" + appId.toLatin1() + "&text=" + encoded
                              + "&from=en&to=ru";
    QCOMPARE(Translator::requestUrl(text, QStringLiteral("en"), QStringLiteral("ru"))
                 .toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority),
             target);

    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(text);
    QVERIFY(spy.wait());
    QCOMPARE(server.requests(), QList<QByteArray>({target}));
    const QHash<QString, QString> items = TranslationServer::queryItems(target);
    QCOMPARE(items.value(QStringLiteral("text")), text);
    QCOMPARE(items.size(), 4);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first(), QVariantList({text, translation}));
}

void TestTranslator::directionFollowsLanguageValues_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("translation");

    QTest::newRow("learning language into the user's") << "en" << "ru" << "year" << "год";
    QTest::newRow("swapped") << "ru" << "en" << "год" << "year";
    QTest::newRow("swapped, one of several meanings") << "ru" << "en" << "сезон" << "season";
}

void TestTranslator::directionFollowsLanguageValues()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, text);
    QFETCH(QString, translation);
    learningLanguage = from;
    interfaceLanguage = to;
    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(text);
    // The values are read as the request is made; a caller may restore them at once.
    learningLanguage = QStringLiteral("xx");
    interfaceLanguage = QStringLiteral("yy");
    QVERIFY(spy.wait());

    const QHash<QString, QString> items = TranslationServer::queryItems(server.requests().first());
    QCOMPARE(items.value(QStringLiteral("from")), from);
    QCOMPARE(items.value(QStringLiteral("to")), to);
    QCOMPARE(spy.first().at(1).toString(), translation);
}

void TestTranslator::answersOutOfOrderKeepTheirTexts()
{
    server.setDelay(300, QStringLiteral("time"));
    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(QStringLiteral("time"));
    translator.translate(QStringLiteral("year"));
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0), QVariantList({QStringLiteral("year"), QStringLiteral("год")}));
    QCOMPARE(spy.at(1), QVariantList({QStringLiteral("time"), QStringLiteral("время")}));
}

void TestTranslator::answerEqualToSourceIsEmpty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("translation");

    QTest::newRow("same text in other capitals") << "Paris" << "";
    QTest::newRow("unknown word echoed") << "zzyzx" << "";
    QTest::newRow("real translation") << "Moscow" << "Москва";
}

void TestTranslator::answerEqualToSourceIsEmpty()
{
    QFETCH(QString, text);
    QFETCH(QString, translation);
    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(text);
    QVERIFY(spy.wait());
    QCOMPARE(spy.first(), QVariantList({text, translation}));
}

void TestTranslator::failureGivesOneEmptyAnswer_data()
{
    QTest::addColumn<TranslationServer::Fault>("fault");
    QTest::addColumn<bool>("refused");

    QTest::newRow("http error") << TranslationServer::Fault::HttpError << false;
    QTest::newRow("garbage body") << TranslationServer::Fault::Garbage << false;
    QTest::newRow("connection closed") << TranslationServer::Fault::Disconnect << false;
    QTest::newRow("never answers") << TranslationServer::Fault::NoAnswer << false;
    QTest::newRow("connection refused") << TranslationServer::Fault::None << true;
}

void TestTranslator::failureGivesOneEmptyAnswer()
{
    QFETCH(TranslationServer::Fault, fault);
    QFETCH(bool, refused);
    server.setFault(fault);
    if (refused) {
        // A port that was free a moment ago and has nobody listening now.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        QUrl url = server.url();
        url.setPort(probe.serverPort());
        probe.close();
        Translator::setServiceUrl(url);
    }
    Translator::setTimeout(500);

    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    QElapsedTimer clock;
    clock.start();
    translator.translate(QStringLiteral("time"));
    QVERIFY(spy.wait(5000));
    QVERIFY(clock.elapsed() < 4000);
    QTest::qWait(200);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first(), QVariantList({QStringLiteral("time"), QString()}));
}

void TestTranslator::longBatchDoesNotTimeOutInTheQueue()
{
    // 30 answers of 100 ms each, six at a time, take half a second: far longer
    // than the time-out, which must count only from the moment each request leaves.
    server.setDelay(100);
    Translator::setTimeout(250);
    Translator translator;
    QSignalSpy spy(&translator, &Translator::translated);
    for (int i = 0; i < 30; ++i)
        translator.translate(QStringLiteral("year"));
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 30, 10000);
    for (const QVariantList& answer : spy)
        QCOMPARE(answer.at(1).toString(), QStringLiteral("год"));
}

void TestTranslator::languageTable()
{
    const auto table = languages();
    const QStringList codes = languageCodes(table);
    QCOMPARE(table.size(), 36);
    QCOMPARE(codes.first(), QStringLiteral("en"));
    QCOMPARE(codes.last(), QStringLiteral("et"));
    QCOMPARE(codes.at(7), QStringLiteral("zh-CN"));
    QCOMPARE(QStringList(codes).removeDuplicates(), 0);
    // The Slovak name starts with a Latin C, as stored texts know it.
    QCOMPARE(::languageName(table, QStringLiteral("sk")).at(0), QChar(0x0043));
}

void TestTranslator::languageName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("english") << "en" << "Английский";
    QTest::newRow("mixed capitals") << "ZH-cn" << "Китайский";
    QTest::newRow("estonian") << "et" << "Эстонский";
    QTest::newRow("unknown") << "xx" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TestTranslator::languageName()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    const QString found = ::languageName(languages(), code);
    QCOMPARE(found, name);
    QCOMPARE(found.isNull(), name.isNull());
}

VOCABRIUM_TEST_MAIN(TestTranslator)
#include "tst_translator.moc"
