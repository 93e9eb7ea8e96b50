#include <memory>
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>
#include <QtEndian>

#include "model/units.h"
#include "speech/transcriptionformat.h"
#include "speech/transcriptions.h"
#include "session/workspace.h"
#include "testenvironment.h"

using Table = QMap<QString, QString>;

namespace {

QByteArray uint32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray string(const QString& text)
{
    QByteArray bytes = uint32(quint32(text.size() * 2));
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

void writeTableFile(const QString& name, const Table& table)
{
    QDir().mkpath(QStringLiteral("Transcriptions"));
    QSaveFile file(QStringLiteral("Transcriptions/") + name + QStringLiteral(".trn"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(TranscriptionFormat::writeTable(&file, table));
    QVERIFY(file.commit());
}

} // namespace

class TranscriptionsTest : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before any table file is written.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void firstUseLoadsTheTable();

    void readTable_data();
    void readTable();
    void writerMatchesQDataStreamAndReadsBack();

    void lookupFoldsCaseAndBrackets_data();
    void lookupFoldsCaseAndBrackets();
    void heteronymTakesTheReadingOfItsTranslation_data();
    void heteronymTakesTheReadingOfItsTranslation();
    void formattedWrapsTranscriptionInGreenBold();
    void formattedEscapesTextFromTheFile();
    void switchingOffHidesFormattedButNotLookupUnit();
    void emptyFileNameReadsDotTrn();
    void loadEmptiesTableWhenFileIsMissing();
    void damagedFileGivesEmptyTable();

    void shippedTablesCoverDefaultDictionary_data();
    void shippedTablesCoverDefaultDictionary();
};

void TranscriptionsTest::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = std::make_unique<Workspace>();
}

void TranscriptionsTest::firstUseLoadsTheTable()
{
    // A workspace built with the table in place has it at once.
    writeTableFile(QStringLiteral("English"), {{QStringLiteral("house"), QStringLiteral("haʊs")}});
    const Workspace fresh;
    QCOMPARE(fresh.transcriptions.lookup(QStringLiteral("House")), QStringLiteral("[haʊs]"));
}

void TranscriptionsTest::cleanup()
{
    workspace.reset();
}

void TranscriptionsTest::readTable_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Table>("expected");

    const QByteArray house = string(QStringLiteral("house")) + string(QStringLiteral("haʊs"));
    const QByteArray cat = string(QStringLiteral("cat")) + string(QStringLiteral("kæt"));
    const Table both{{QStringLiteral("house"), QStringLiteral("haʊs")},
                     {QStringLiteral("cat"), QStringLiteral("kæt")}};

    QTest::newRow("two entries") << uint32(2) + house + cat << both;
    QTest::newRow("any order, trailing bytes ignored") << uint32(2) + cat + house + "xyz" << both;
    QTest::newRow("no data") << QByteArray() << Table();
    QTest::newRow("count cut short") << QByteArray("\0\0", 2) << Table();
    QTest::newRow("zero entries") << uint32(0) << Table();
    QTest::newRow("count 3, two entries") << uint32(3) + house + cat << Table();
    // Read up to the first failure, not four billion times.
    QTest::newRow("huge count on short data")
        << uint32(0xFFFFFFFF) + string(QStringLiteral("a")) + string(QStringLiteral("b")) << Table();
    QTest::newRow("value cut short") << uint32(1) + string(QStringLiteral("house")) + uint32(8) + QByteArray("\0h", 2)
                                     << Table();
    QTest::newRow("key without value") << uint32(1) + string(QStringLiteral("house")) << Table();
    QTest::newRow("odd string length") << uint32(1) + uint32(3) + QByteArray("\0h\0", 3) + string(QStringLiteral("x"))
                                       << Table();
    QTest::newRow("length past the end") << uint32(1) + uint32(0x7FFFFFF0) + house << Table();
    QTest::newRow("null value") << uint32(1) + string(QStringLiteral("a")) + uint32(0xFFFFFFFF)
                                << Table{{QStringLiteral("a"), QString()}};
    QTest::newRow("later duplicate wins")
        << uint32(2) + string(QStringLiteral("a")) + string(QStringLiteral("1"))
               + string(QStringLiteral("a")) + string(QStringLiteral("2"))
        << Table{{QStringLiteral("a"), QStringLiteral("2")}};
}

void TranscriptionsTest::readTable()
{
    QFETCH(QByteArray, data);
    QFETCH(Table, expected);
    QCOMPARE(TranscriptionFormat::readTable(data), expected);
}

void TranscriptionsTest::writerMatchesQDataStreamAndReadsBack()
{
    const Table table{{QStringLiteral("über"), QStringLiteral("ˈyːbɐ")},
                      {QStringLiteral("empty"), QString()},
                      {QStringLiteral("straße"), QStringLiteral("ʃtʁaːsə")}};
    QByteArray ours;
    QBuffer buffer(&ours);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(TranscriptionFormat::writeTable(&buffer, table));

    QByteArray qts;
    QDataStream stream(&qts, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_4_6);
    stream << table;

    QCOMPARE(ours, qts);
    QCOMPARE(TranscriptionFormat::readTable(ours), table);
}

void TranscriptionsTest::lookupFoldsCaseAndBrackets_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");

    QTest::newRow("as stored") << QStringLiteral("house") << QStringLiteral("[haʊs]");
    QTest::newRow("capital first letter") << QStringLiteral("House") << QStringLiteral("[haʊs]");
    QTest::newRow("capitals") << QStringLiteral("HOUSE") << QStringLiteral("[haʊs]");
    QTest::newRow("surrounding spaces") << QStringLiteral(" house ") << QStringLiteral("[haʊs]");
    QTest::newRow("empty value") << QStringLiteral("silent") << QString();
    QTest::newRow("not in table") << QStringLiteral("garden") << QString();
    QTest::newRow("empty word") << QString() << QString();
    QTest::newRow("article before the word") << QStringLiteral("the  House") << QStringLiteral("[haʊs]");
    QTest::newRow("elided article") << QStringLiteral("l'house") << QStringLiteral("[haʊs]");
    QTest::newRow("no article before the word") << QStringLiteral("big house") << QString();
}

void TranscriptionsTest::heteronymTakesTheReadingOfItsTranslation_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("expected");

    QTest::newRow("verb") << QStringLiteral("live") << QStringLiteral("жить") << QStringLiteral("[lˈɪv]");
    QTest::newRow("adjective") << QStringLiteral("live") << QStringLiteral("живой") << QStringLiteral("[lˈaɪv]");
    QTest::newRow("verb with its particle") << QStringLiteral("Close")
                                            << QStringLiteral("закрывать(ся), закрыть") << QStringLiteral("[klˈoʊz]");
    QTest::newRow("noun") << QStringLiteral("use") << QStringLiteral("польза") << QStringLiteral("[jˈuːs]");
    QTest::newRow("verb, stress moves") << QStringLiteral("increase") << QStringLiteral("увеличивать")
                                        << QStringLiteral("[ɪŋkɹˈiːs]");
    QTest::newRow("sense told by its word") << QStringLiteral("bow") << QStringLiteral("лук (оружие)")
                                            << QStringLiteral("[bˈoʊ]");
    QTest::newRow("other sense") << QStringLiteral("bow") << QStringLiteral("поклон") << QStringLiteral("[bˈaʊ]");
    QTest::newRow("one reading only") << QStringLiteral("cat") << QStringLiteral("кот")
                                      << QStringLiteral("[kˈæt]");
    QTest::newRow("no Russian word") << QStringLiteral("live") << QStringLiteral("-") << QStringLiteral("[lˈaɪv]");
}

void TranscriptionsTest::heteronymTakesTheReadingOfItsTranslation()
{
    QFETCH(QString, word);
    QFETCH(QString, translation);
    QFETCH(QString, expected);
    workspace->settings.transcriptionFileName = QStringLiteral("English");
    writeTableFile(QStringLiteral("English"), {{QStringLiteral("cat"), QStringLiteral("kˈæt")},
                                               {QStringLiteral("live"), QStringLiteral("lˈaɪv")}});
    (&workspace->transcriptions)->load();
    (&workspace->words.units)->setUnits({{word, translation}});
    QCOMPARE((&workspace->transcriptions)->lookupUnit(0), expected);
}

void TranscriptionsTest::lookupFoldsCaseAndBrackets()
{
    QFETCH(QString, word);
    QFETCH(QString, expected);
    workspace->settings.transcriptionFileName = QStringLiteral("Test");
    writeTableFile(QStringLiteral("Test"), {{QStringLiteral("house"), QStringLiteral("haʊs")},
                                            {QStringLiteral("silent"), QStringLiteral("")}});
    (&workspace->transcriptions)->load();
    QCOMPARE((&workspace->transcriptions)->lookup(word), expected);
}

void TranscriptionsTest::formattedWrapsTranscriptionInGreenBold()
{
    workspace->settings.transcriptionFileName = QStringLiteral("Test");
    writeTableFile(QStringLiteral("Test"), {{QStringLiteral("house"), QStringLiteral("haʊs")}});
    (&workspace->transcriptions)->load();
    (&workspace->words.units)->setUnits({{QStringLiteral("House"), QStringLiteral("дом")},
                                  {QStringLiteral("garden"), QStringLiteral("сад")}});

    QCOMPARE((&workspace->transcriptions)->formatted(0),
             QStringLiteral("<b><font color = green> [haʊs]</font></b>"));
    QCOMPARE((&workspace->transcriptions)->formatted(1), QString());
    QCOMPARE((&workspace->transcriptions)->formatted(-1), QString());
}

void TranscriptionsTest::formattedEscapesTextFromTheFile()
{
    workspace->settings.transcriptionFileName = QStringLiteral("Test");
    writeTableFile(QStringLiteral("Test"), {{QStringLiteral("tag"), QStringLiteral("<i>a&b</i>")}});
    (&workspace->transcriptions)->load();
    (&workspace->words.units)->setUnits({{QStringLiteral("tag"), QStringLiteral("метка")}});

    QCOMPARE((&workspace->transcriptions)->formatted(0),
             QStringLiteral("<b><font color = green> [&lt;i&gt;a&amp;b&lt;/i&gt;]</font></b>"));
    // Plain-text users get the text as it is.
    QCOMPARE((&workspace->transcriptions)->lookupUnit(0), QStringLiteral("[<i>a&b</i>]"));
}

void TranscriptionsTest::switchingOffHidesFormattedButNotLookupUnit()
{
    workspace->settings.transcriptionFileName = QStringLiteral("Test");
    writeTableFile(QStringLiteral("Test"), {{QStringLiteral("house"), QStringLiteral("haʊs")}});
    (&workspace->transcriptions)->load();
    (&workspace->words.units)->setUnits({{QStringLiteral("HOUSE"), QStringLiteral("дом")}});

    workspace->settings.transcriptionEnabled = false;
    QCOMPARE((&workspace->transcriptions)->formatted(0), QString());
    QCOMPARE((&workspace->transcriptions)->lookupUnit(0), QStringLiteral("[haʊs]"));
    workspace->settings.transcriptionEnabled = true;
    QVERIFY(!(&workspace->transcriptions)->formatted(0).isEmpty());
}

void TranscriptionsTest::emptyFileNameReadsDotTrn()
{
    workspace->settings.transcriptionFileName = QString();
    (&workspace->transcriptions)->load();
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("house")), QString());

    writeTableFile(QString(), {{QStringLiteral("house"), QStringLiteral("x")}});
    QVERIFY(QFile::exists(QStringLiteral("Transcriptions/.trn")));
    (&workspace->transcriptions)->load();
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("house")), QStringLiteral("[x]"));
}

void TranscriptionsTest::loadEmptiesTableWhenFileIsMissing()
{
    workspace->settings.transcriptionFileName = QStringLiteral("Test");
    writeTableFile(QStringLiteral("Test"), {{QStringLiteral("house"), QStringLiteral("haʊs")}});
    (&workspace->transcriptions)->load();
    QVERIFY(!(&workspace->transcriptions)->lookup(QStringLiteral("house")).isEmpty());

    workspace->settings.transcriptionFileName = QStringLiteral("Klingon");
    (&workspace->transcriptions)->load();
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("house")), QString());
}

void TranscriptionsTest::damagedFileGivesEmptyTable()
{
    QDir().mkpath(QStringLiteral("Transcriptions"));
    QFile file(QStringLiteral("Transcriptions/Short.trn"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(uint32(3) + string(QStringLiteral("a")) + string(QStringLiteral("1"))
               + string(QStringLiteral("b")) + string(QStringLiteral("2")));
    file.close();

    workspace->settings.transcriptionFileName = QStringLiteral("Short");
    (&workspace->transcriptions)->load();
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("a")), QString());
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("b")), QString());
}

void TranscriptionsTest::shippedTablesCoverDefaultDictionary_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
    QTest::newRow("German") << QStringLiteral("German");
    QTest::newRow("Spanish") << QStringLiteral("Spanish");
    QTest::newRow("Italian") << QStringLiteral("Italian");
}

void TranscriptionsTest::shippedTablesCoverDefaultDictionary()
{
    QFETCH(QString, language);
    QFile file(QStringLiteral(VOCABRIUM_BUILD_DIR "/Transcriptions/") + language + QStringLiteral(".trn"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const Table table = TranscriptionFormat::readTable(file.readAll());
    QVERIFY2(table.size() >= 10000, qPrintable(QString::number(table.size())));
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        QCOMPARE(it.key(), it.key().toLower());
        // espeak-ng's clitic hyphen ("la-") is mended away.
        QVERIFY2(!it.value().contains(QLatin1String("- ")) && !it.value().endsWith(QLatin1Char('-')),
                 qPrintable(it.key()));
    }

    // Every word of a shipped or site dictionary of the language is covered,
    // bare when the dictionary writes it with its article.
    static const QHash<QString, QString> codes{
        {QStringLiteral("English"), QStringLiteral("en")}, {QStringLiteral("French"), QStringLiteral("fr")},
        {QStringLiteral("German"), QStringLiteral("de")},  {QStringLiteral("Spanish"), QStringLiteral("es")},
        {QStringLiteral("Italian"), QStringLiteral("it")}};
    static const QRegularExpression languageLine(QStringLiteral("^#\\s*language\\s*:\\s*(\\S+)"));
    static const QRegularExpression article(QStringLiteral("^(?:der|die|das|le|la|les|il|lo|el|los|las|l') ?"));
    int words = 0;
    const QStringList folders{QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries"),
                              QStringLiteral(VOCABRIUM_SOURCE_DIR "/site/dictionaries")};
    for (const QString& folder : folders) {
        for (const QFileInfo& info : QDir(folder).entryInfoList({QStringLiteral("*.tsv")}, QDir::Files)) {
            QFile dictionary(info.absoluteFilePath());
            QVERIFY(dictionary.open(QIODevice::ReadOnly | QIODevice::Text));
            QTextStream text(&dictionary);
            QString own = QStringLiteral("en");
            QStringList entries;
            while (!text.atEnd()) {
                const QString line = text.readLine();
                const QRegularExpressionMatch named = languageLine.match(line);
                if (named.hasMatch() && entries.isEmpty())
                    own = named.captured(1).toLower();
                if (!line.startsWith(QLatin1Char('#')) && line.contains(QLatin1Char('\t')))
                    entries.append(line.section(QLatin1Char('\t'), 0, 0).simplified().toLower());
            }
            if (own != codes.value(language))
                continue;
            for (const QString& word : std::as_const(entries)) {
                QString bare = word;
                bare.remove(article);
                QVERIFY2(!table.value(word).isEmpty() || !table.value(bare).isEmpty(),
                         qPrintable(info.fileName() + QLatin1Char(' ') + word));
                ++words;
            }
        }
    }
    QVERIFY(words > 1000);
}

VOCABRIUM_TEST_MAIN(TranscriptionsTest)
#include "tst_transcriptions.moc"
