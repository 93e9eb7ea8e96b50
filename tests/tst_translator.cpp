#include <memory>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include "config/settings.h"
#include "tests/httptestserver.h"
#include "tests/testenvironment.h"
#include "tools/translationserver.h"
#include "translation/libretranslateengine.h"
#include "translation/onlineengine.h"
#include "translation/translator.h"
#include "translation/translatorsettings.h"
#include "translation/v2engine.h"

Q_DECLARE_METATYPE(TranslationServer::Fault)
Q_DECLARE_METATYPE(HttpTestServer::Answer)

namespace {

const QString appId = QStringLiteral("0A1B2C3D4E5F60718293A4B5C6D7E8F901234567");

struct Answer
{
    QString translation;
    QString failure;
};

// Translates \a text and waits for its one answer.
Answer ask(Workspace* workspace, const QString& text)
{
    Translator translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries);
    QSignalSpy details(&translator, &Translator::details);
    QSignalSpy answers(&translator, &Translator::translated);
    const int key = translator.translate(text);
    // Never from inside translate(): the caller must know the key first.
    if (!answers.isEmpty())
        return Answer{QStringLiteral("answered too early"), QString()};
    if (!answers.wait(10000))
        return Answer{QStringLiteral("no answer"), QString()};
    // The engines are asked one after the other, so nothing else is under
    // way; whatever was already posted is delivered before the count.
    bool delivered = false;
    QMetaObject::invokeMethod(&translator, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    if (!QTest::qWaitFor([&delivered] { return delivered; }, 10000))
        return Answer{QStringLiteral("event loop stuck"), QString()};
    if (answers.size() != 1 || details.size() != 1 || answers.first().at(0).toInt() != key)
        return Answer{QStringLiteral("not one answer"), QString()};
    return Answer{answers.first().at(1).toString(), details.first().at(2).toString()};
}

void configure(Workspace* workspace, const QStringList& engines, const QString& v2Url, const QString& libreUrl = QString(),
               int timeout = 5000)
{
    TranslatorSettings settings = workspace->translatorSettings;
    settings.engines = engines;
    settings.v2Url = v2Url;
    settings.v2ApplicationId = appId;
    settings.libreUrl = libreUrl;
    settings.timeout = timeout;
    settings.dictionaryFolder.clear();
    settings.standardFolders = {QFINDTESTDATA("data/dictd/sample-eng-rus.index").section(QLatin1Char('/'), 0, -2)};
    workspace->translatorSettings = settings;
}

} // namespace

class TestTranslator : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void environmentNamesTheServices();
    void serverProgramAnswersTheProgram();

    void parseReply_data();
    void parseReply();
    void textReachesServerAsItself_data();
    void textReachesServerAsItself();
    void directionFollowsLanguageValues_data();
    void directionFollowsLanguageValues();
    void answersOutOfOrderKeepTheirKeys();
    void answerEqualToSourceIsEmpty_data();
    void answerEqualToSourceIsEmpty();
    void failureSaysWhy_data();
    void failureSaysWhy();
    void malformedAddressSendsNothing_data();
    void malformedAddressSendsNothing();
    void enginesAreAskedInOrder_data();
    void enginesAreAskedInOrder();
    void libreTranslate_data();
    void libreTranslate();
    void longBatchDoesNotTimeOutInTheQueue();
    void languageTable();
    void languageName_data();
    void languageName();

private:
    // One server with its word list for the whole run; init() resets how it answers.
    TranslationServer server;
    TranslatorSettings fromEnvironment;
};

void TestTranslator::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    server.addTranslation(QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("Paris"),
                          QStringLiteral("PARIS"));
    server.addTranslation(QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("Moscow"),
                          QStringLiteral("Москва"));
    QVERIFY(server.listen());

    // The environment wins over the store and the defaults.
    qputenv("VOCABRIUM_TRANSLATOR_ENGINES", "v2, LibreTranslate, bogus");
    qputenv("VOCABRIUM_TRANSLATOR_URL", "http://127.0.0.1:1/prefix/");
    qputenv("VOCABRIUM_TRANSLATOR_APPID", "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
    qputenv("VOCABRIUM_LIBRETRANSLATE_URL", "http://127.0.0.1:2");
    qputenv("VOCABRIUM_TRANSLATOR_TIMEOUT", "1234");
    fromEnvironment = TranslatorSettings::read();
}

void TestTranslator::init()
{
    workspace = std::make_unique<Workspace>();
    configure(workspace.get(), {TranslatorSettings::v2Engine()}, server.url().toString());
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");
    server.reset();
}

void TestTranslator::cleanup()
{
    workspace.reset();
}

void TestTranslator::environmentNamesTheServices()
{
    QCOMPARE(fromEnvironment.engines, QStringList({QStringLiteral("v2"), QStringLiteral("libretranslate")}));
    QCOMPARE(fromEnvironment.v2Url, QStringLiteral("http://127.0.0.1:1/prefix/"));
    QCOMPARE(fromEnvironment.v2ApplicationId, QStringLiteral("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"));
    QCOMPARE(fromEnvironment.libreUrl, QStringLiteral("http://127.0.0.1:2"));
    QCOMPARE(fromEnvironment.timeout, 1234);
    QString error;
    QCOMPARE(V2Engine::requestUrl(fromEnvironment.v2Url, appId, QStringLiteral("a"), QStringLiteral("en"),
                                  QStringLiteral("ru"), &error).path(),
             QStringLiteral("/prefix/V2/Http.svc/Translate"));
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
    configure(workspace.get(), {TranslatorSettings::v2Engine()}, banner.section(QLatin1Char(' '), 2));
    QCOMPARE(ask(workspace.get(), QStringLiteral("tomorrow")).translation, QStringLiteral("завтра"));
    program.kill();
    program.waitForFinished();
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
    QCOMPARE(V2Engine::parseReply(reply.readAll()), translation);
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
    QString error;
    QCOMPARE(V2Engine::requestUrl(server.url().toString(), appId, text, QStringLiteral("en"),
                                  QStringLiteral("ru"), &error)
                 .toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority),
             target);

    QCOMPARE(ask(workspace.get(), text).translation, translation);
    QCOMPARE(server.requests(), QList<QByteArray>({target}));
    const QHash<QString, QString> items = TranslationServer::queryItems(target);
    QCOMPARE(items.value(QStringLiteral("text")), text);
    QCOMPARE(items.size(), 4);
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
    workspace->settings.learningLanguage = from;
    workspace->settings.interfaceLanguage = to;
    Translator translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries);
    QSignalSpy spy(&translator, &Translator::translated);
    translator.translate(text);
    // The values are read as the request is made; a caller may restore them at once.
    workspace->settings.learningLanguage = QStringLiteral("xx");
    workspace->settings.interfaceLanguage = QStringLiteral("yy");
    QVERIFY(spy.wait());

    const QHash<QString, QString> items = TranslationServer::queryItems(server.requests().first());
    QCOMPARE(items.value(QStringLiteral("from")), from);
    QCOMPARE(items.value(QStringLiteral("to")), to);
    QCOMPARE(spy.first().at(1).toString(), translation);
}

void TestTranslator::answersOutOfOrderKeepTheirKeys()
{
    server.hold(QStringLiteral("time"));
    Translator translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries);
    QSignalSpy spy(&translator, &Translator::translated);
    const int time = translator.translate(QStringLiteral("time"));
    const int year = translator.translate(QStringLiteral("year"));
    QVERIFY(time != year);
    QVERIFY(spy.wait());
    server.release(QStringLiteral("time"));
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0), QVariantList({year, QStringLiteral("год")}));
    QCOMPARE(spy.at(1), QVariantList({time, QStringLiteral("время")}));
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
    const Answer answer = ask(workspace.get(), text);
    QCOMPARE(answer.translation, translation);
    QCOMPARE(answer.failure.isEmpty(), !translation.isEmpty());
}

void TestTranslator::failureSaysWhy_data()
{
    QTest::addColumn<TranslationServer::Fault>("fault");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("failure");

    QTest::newRow("http error") << TranslationServer::Fault::HttpError << false
                                << "сервис V2: сервис отказал (HTTP 500)";
    QTest::newRow("garbage body") << TranslationServer::Fault::Garbage << false
                                  << "сервис V2: сервис не знает перевода";
    QTest::newRow("connection closed") << TranslationServer::Fault::Disconnect << false
                                       << "сервис V2: сервис недоступен";
    QTest::newRow("never answers") << TranslationServer::Fault::NoAnswer << false
                                   << "сервис V2: сервис не ответил вовремя";
    QTest::newRow("connection refused") << TranslationServer::Fault::None << true
                                        << "сервис V2: сервис недоступен";
}

void TestTranslator::failureSaysWhy()
{
    QFETCH(TranslationServer::Fault, fault);
    QFETCH(bool, refused);
    QFETCH(QString, failure);
    server.setFault(fault);
    QUrl url = server.url();
    if (refused) {
        // A port that was free a moment ago and has nobody listening now.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        url.setPort(probe.serverPort());
        probe.close();
    }
    configure(workspace.get(), {TranslatorSettings::v2Engine()}, url.toString(), QString(), 500);
    const Answer answer = ask(workspace.get(), QStringLiteral("time"));
    QCOMPARE(answer.translation, QString());
    QCOMPARE(answer.failure, failure);
}

void TestTranslator::malformedAddressSendsNothing_data()
{
    QTest::addColumn<QString>("address");

    QTest::newRow("no scheme") << "127.0.0.1:8090";
    QTest::newRow("host name only") << "localhost";
    QTest::newRow("other scheme") << "ftp://127.0.0.1";
    QTest::newRow("no host") << "http://";
    QTest::newRow("spaces inside") << "http://local host:80";
}

void TestTranslator::malformedAddressSendsNothing()
{
    QFETCH(QString, address);
    configure(workspace.get(), {TranslatorSettings::v2Engine()}, address);
    const Answer answer = ask(workspace.get(), QStringLiteral("time"));
    QCOMPARE(answer.translation, QString());
    QVERIFY2(answer.failure.startsWith(QStringLiteral("сервис V2: неверный адрес сервиса")),
             qPrintable(answer.failure));
    QVERIFY(server.requests().isEmpty());
}

void TestTranslator::enginesAreAskedInOrder_data()
{
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("requests");

    const QString dictionaries = TranslatorSettings::dictionariesEngine();
    const QString v2 = TranslatorSettings::v2Engine();
    QTest::newRow("dictionary first, it knows") << QStringList{dictionaries, v2} << "cat" << "кот, кошка" << "" << 0;
    QTest::newRow("service first") << QStringList{v2, dictionaries} << "cat" << "кошка" << "" << 1;
    QTest::newRow("dictionary does not know") << QStringList{dictionaries, v2} << "time" << "время" << "" << 1;
    QTest::newRow("nobody knows") << QStringList{dictionaries, v2} << "zzyzx" << ""
                                  << "нет в словарях; сервис V2: сервис не знает перевода" << 1;
    QTest::newRow("dictionary alone") << QStringList{dictionaries} << "time" << "" << "нет в словарях" << 0;
    QTest::newRow("nothing chosen") << QStringList{} << "time" << ""
                                    << "не выбран ни один способ перевода (Настройки → Перевод слов)" << 0;
}

void TestTranslator::enginesAreAskedInOrder()
{
    QFETCH(QStringList, engines);
    QFETCH(QString, text);
    QFETCH(QString, translation);
    QFETCH(QString, failure);
    QFETCH(int, requests);
    configure(workspace.get(), engines, server.url().toString());
    const Answer answer = ask(workspace.get(), text);
    QCOMPARE(answer.translation, translation);
    QCOMPARE(answer.failure, failure);
    QCOMPARE(server.requests().size(), requests);
}

void TestTranslator::libreTranslate_data()
{
    QTest::addColumn<HttpTestServer::Answer>("reply");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("failure");

    QTest::newRow("answer") << HttpTestServer::Answer{200, R"({"translatedText": "кошка"})", "application/json"}
                            << "кошка" << "";
    QTest::newRow("error object") << HttpTestServer::Answer{400, R"({"error": "Invalid API key"})", "application/json"}
                                  << "" << "LibreTranslate: сервис отказал (HTTP 400)";
    QTest::newRow("not json") << HttpTestServer::Answer{200, "<html></html>", "text/html"}
                              << "" << "LibreTranslate: сервис не знает перевода";
    QTest::newRow("too large") << HttpTestServer::Answer{200, QByteArray(OnlineEngine::maxReplySize + 10, ' ')}
                               << "" << "LibreTranslate: ответ сервиса слишком велик";
    HttpTestServer::Answer trickle{200, QByteArray(200, ' ')};
    trickle.trickle = 50;
    QTest::newRow("trickling past the deadline") << trickle << "" << "LibreTranslate: сервис не ответил вовремя";
}

void TestTranslator::libreTranslate()
{
    QFETCH(HttpTestServer::Answer, reply);
    QFETCH(QString, translation);
    QFETCH(QString, failure);
    HttpTestServer libre;
    libre.set(QStringLiteral("/base/translate"), reply);
    // A trickling answer is slower than a short deadline by far; the others
    // get a deadline that a loaded machine does not reach.
    const int deadline = reply.trickle > 0 ? 300 : 1500;
    configure(workspace.get(), {TranslatorSettings::libreTranslateEngine()}, QString(), libre.root() + QStringLiteral("base/"), deadline);
    const Answer answer = ask(workspace.get(), QStringLiteral("cat"));
    QCOMPARE(answer.translation, translation);
    QCOMPARE(answer.failure, failure);
    QCOMPARE(libre.requested, QStringList{QStringLiteral("/base/translate")});
    QCOMPARE(QJsonDocument::fromJson(LibreTranslateEngine::requestBody(
                 QStringLiteral("cat"), QStringLiteral("zh-CN"), QStringLiteral("ru"), QStringLiteral("k")))
                 .object(),
             QJsonObject({{"q", "cat"}, {"source", "zh"}, {"target", "ru"}, {"format", "text"}, {"api_key", "k"}}));
}

void TestTranslator::longBatchDoesNotTimeOutInTheQueue()
{
    // 30 answers of 100 ms each, six at a time, take half a second: far longer
    // than the deadline, which must count only from the moment each request leaves.
    server.setDelay(100);
    configure(workspace.get(), {TranslatorSettings::v2Engine()}, server.url().toString(), QString(), 400);
    Translator translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries);
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
