#include <memory>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMutex>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTimer>
#include <QWaitCondition>
#include <QtEndian>

#include <atomic>
#include <cmath>

#include "model/units.h"
#include "speech/espeaksynthesizer.h"
#include "speech/speaker.h"
#include "session/workspace.h"
#include "testenvironment.h"

namespace {

constexpr int ShortPause = 50;
// Far above anything a working run needs; only a hang runs into it.
constexpr int Patience = 20000;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// A valid PCM WAV file: 50 ms of a quiet 440 Hz tone, 8 kHz, mono, 16 bits;
// short, as every playback in these tests runs to its end.
QByteArray tinyWav()
{
    const int rate = 8000;
    const int samples = rate / 20;
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const qint16 value = qint16(2000 * std::sin(2 * M_PI * 440 * i / rate));
        qToLittleEndian(value, pcm.data() + 2 * i);
    }
    auto le32 = [](quint32 v) { QByteArray b(4, '\0'); qToLittleEndian(v, b.data()); return b; };
    auto le16 = [](quint16 v) { QByteArray b(2, '\0'); qToLittleEndian(v, b.data()); return b; };
    return "RIFF" + le32(quint32(36 + pcm.size())) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1)
        + le32(rate) + le32(rate * 2) + le16(2) + le16(16) + "data" + le32(quint32(pcm.size())) + pcm;
}

// Speaks every word as the tiny tone, or has no voice at all. A held one
// keeps every synthesis busy until release(), so that a test can act while
// the worker is known to be in the middle of it.
class FakeSynthesizer : public SpeechSynthesizer
{
public:
    enum Gate { Open, Held };
    explicit FakeSynthesizer(bool hasVoice, Gate gate = Open) : hasVoice(hasVoice), held(gate == Held) {}
    QString name() const override { return QStringLiteral("fake"); }
    QByteArray synthesize(const QString&, const QString& language, QString* error) override
    {
        {
            QMutexLocker lock(&mutex);
            languages.append(language);
            ++calls;
            while (held)
                released.wait(&mutex);
        }
        if (!hasVoice && error)
            *error = QStringLiteral("no voice");
        return hasVoice ? tinyWav() : QByteArray();
    }
    void release()
    {
        const QMutexLocker lock(&mutex);
        held = false;
        released.wakeAll();
    }
    std::atomic<int> calls = 0;
    QMutex mutex;
    QStringList languages;

private:
    const bool hasVoice;
    bool held;
    QWaitCondition released;
};

enum Voice { NoSynthesizer, Speaking, Broken };

std::shared_ptr<FakeSynthesizer> synthesizerFor(int voice)
{
    return voice == NoSynthesizer ? nullptr : std::make_shared<FakeSynthesizer>(voice == Speaking);
}

// Delivers everything already posted to the event loop and lets every
// synthesis that is still running end: a report that was on its way when a
// call finished has then arrived and been counted.
bool settle()
{
    if (!QThreadPool::globalInstance()->waitForDone(Patience))
        return false;
    bool delivered = false;
    QTimer::singleShot(0, qApp, [&delivered] { delivered = true; });
    return QTest::qWaitFor([&delivered] { return delivered; }, Patience);
}

} // namespace

class SpeakerTest : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void soundFileResolution_data();
    void soundFileResolution();

    void finishedOncePerCall_data();
    void finishedOncePerCall();
    void newCallWhilePendingStillFinishesEachCallOnce_data();
    void newCallWhilePendingStillFinishesEachCallOnce();
    void cancelDuringSynthesisReportsNothing();
    void destroyedWhileWaitingNeitherCrashesNorReports();
    void plainPronounceNeverReports();
    void espeakSpeaksKnownLanguagesOnly_data();
    void espeakSpeaksKnownLanguagesOnly();
};

void SpeakerTest::initTestCase()
{
    QCOMPARE(Speaker::pauseInterval(), 1200);
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(ShortPause));
}

void SpeakerTest::init()
{
    // No recordings or cached speech left by another function.
    QVERIFY(emptyHomeFolder());
    workspace = std::make_unique<Workspace>();
    workspace->settings.speakEnabled = true;
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.currentFileName = QStringLiteral("deck");
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
}

void SpeakerTest::cleanup()
{
    workspace.reset();
}

void SpeakerTest::soundFileResolution_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    QTest::newRow("wav only") << QStringLiteral("en") << QStringLiteral("house") << QStringList{QStringLiteral("Sounds/h/house.wav")}
                              << QStringLiteral("Sounds/h/house.wav");
    QTest::newRow("mp3 before wav") << QStringLiteral("en")
        << QStringLiteral("house")
        << QStringList{QStringLiteral("Sounds/h/house.wav"), QStringLiteral("Sounds/h/house.mp3")}
        << QStringLiteral("Sounds/h/house.mp3");
    QTest::newRow("no file") << QStringLiteral("en") << QStringLiteral("house") << QStringList{QStringLiteral("Sounds/h/home.wav")}
                             << QString();
    QTest::newRow("capital folder as stored") << QStringLiteral("en")
        << QStringLiteral("Monday") << QStringList{QStringLiteral("Sounds/M/Monday.wav")}
        << QStringLiteral("Sounds/M/Monday.wav");
    QTest::newRow("case is not folded") << QStringLiteral("en")
        << QStringLiteral("Monday")
        << QStringList{QStringLiteral("Sounds/m/Monday.wav"), QStringLiteral("Sounds/m/monday.wav")}
        << QString();
    QTest::newRow("phrase") << QStringLiteral("en") << QStringLiteral("of course") << QStringList{QStringLiteral("Sounds/o/of course.wav")}
                            << QStringLiteral("Sounds/o/of course.wav");
    QTest::newRow("non-latin") << QStringLiteral("en") << QStringLiteral("über") << QStringList{QStringLiteral("Sounds/ü/über.mp3")}
                               << QStringLiteral("Sounds/ü/über.mp3");
    QTest::newRow("folder named like the file is skipped") << QStringLiteral("en")
        << QStringLiteral("house")
        << QStringList{QStringLiteral("Sounds/h/house.mp3/x"), QStringLiteral("Sounds/h/house.wav")}
        << QStringLiteral("Sounds/h/house.wav");
    QTest::newRow("separator cannot leave the folder") << QStringLiteral("en")
        << QStringLiteral("../h/house") << QStringList{QStringLiteral("Sounds/h/house.wav")} << QString();
    QTest::newRow("missing key means empty word") << QStringLiteral("en")
        << QString() << QStringList{QStringLiteral("Sounds/.wav")} << QStringLiteral("Sounds/.wav");
    QTest::newRow("English recording is not French") << QStringLiteral("fr") << QStringLiteral("table")
                                                     << QStringList{QStringLiteral("Sounds/t/table.wav")} << QString();
    QTest::newRow("French recordings have their folder")
        << QStringLiteral("fr") << QStringLiteral("table")
        << QStringList{QStringLiteral("Sounds/t/table.wav"), QStringLiteral("Sounds/fr/t/table.wav")}
        << QStringLiteral("Sounds/fr/t/table.wav");
    QTest::newRow("regional code") << QStringLiteral("pt-BR") << QStringLiteral("mesa")
                                   << QStringList{QStringLiteral("Sounds/pt/m/mesa.mp3")}
                                   << QStringLiteral("Sounds/pt/m/mesa.mp3");
    QTest::newRow("no language, no recording") << QString() << QStringLiteral("house")
                                               << QStringList{QStringLiteral("Sounds/h/house.wav")} << QString();
    QTest::newRow("the dictionary's own recording first")
        << QStringLiteral("en") << QStringLiteral("house")
        << QStringList{QStringLiteral("Sounds/h/house.mp3"), QStringLiteral("deck.sounds/house.ogg")}
        << QStringLiteral("deck.sounds/house.ogg");
    QTest::newRow("the dictionary's own recording in any language")
        << QStringLiteral("fr") << QStringLiteral("table") << QStringList{QStringLiteral("deck.sounds/table.mp3")}
        << QStringLiteral("deck.sounds/table.mp3");
}

void SpeakerTest::soundFileResolution()
{
    QFETCH(QString, language);
    QFETCH(QString, word);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    workspace->settings.learningLanguage = language;
    for (const QString& file : files)
        writeFile(file, "x");
    (&workspace->words.units)->setUnits({{QStringLiteral("unused"), QStringLiteral("-")}});
    int key = -1;
    if (!word.isEmpty()) {
        (&workspace->words.units)->setUnits({{word, QStringLiteral("перевод")}});
        key = 0;
    }
    Speaker speaker(&workspace->words.units, &workspace->settings);
    QCOMPARE(speaker.soundFile(key), expected);
}

void SpeakerTest::finishedOncePerCall_data()
{
    QTest::addColumn<bool>("speech");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("voice");
    QTest::addColumn<bool>("pauses");
    QTest::addColumn<int>("synthesized");

    const QString house = QStringLiteral("Sounds/h/house.wav");
    const QString en = QStringLiteral("en");
    const QByteArray wav = tinyWav();
    QTest::newRow("speech off") << false << en << house << wav << int(Speaking) << true << 0;
    QTest::newRow("speech off, no recording") << false << en << QString() << QByteArray() << int(Speaking) << true << 0;
    QTest::newRow("no recording, no synthesizer") << true << en << QString() << QByteArray() << int(NoSynthesizer)
                                                  << true << 0;
    // Synthesized once, then played from the cache.
    QTest::newRow("no recording, synthesized") << true << en << QString() << QByteArray() << int(Speaking) << false << 1;
    QTest::newRow("no voice for the language") << true << QStringLiteral("fr") << QString() << QByteArray()
                                               << int(Broken) << true << 2;
    QTest::newRow("recording beats the synthesizer") << true << en << house << wav << int(Speaking) << false << 0;
    QTest::newRow("English recording, French word")
        << true << QStringLiteral("fr") << house << wav << int(Speaking) << false << 1;
    QTest::newRow("corrupt wav") << true << en << house << QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 20)
                                 << int(NoSynthesizer) << false << 0;
    QTest::newRow("garbage mp3") << true << en << QStringLiteral("Sounds/h/house.mp3") << QByteArray(4096, '\x5a')
                                 << int(NoSynthesizer) << false << 0;
    QTest::newRow("empty file") << true << en << house << QByteArray() << int(NoSynthesizer) << false << 0;
}

void SpeakerTest::finishedOncePerCall()
{
    QFETCH(bool, speech);
    QFETCH(QString, language);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(int, voice);
    QFETCH(bool, pauses);
    QFETCH(int, synthesized);
    if (!file.isEmpty())
        writeFile(file, content);
    (&workspace->words.units)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    workspace->settings.speakEnabled = speech;
    workspace->settings.learningLanguage = language;

    const std::shared_ptr<FakeSynthesizer> synthesizer = synthesizerFor(voice);
    Speaker speaker(synthesizer, &workspace->words.units, &workspace->settings);
    QSignalSpy spy(&speaker, &Speaker::finished);
    // A word without sound still leaves the learner the pause: its end comes
    // after a timer of half the pause started with it.
    QTimer halfPause;
    halfPause.setSingleShot(true);
    halfPause.setTimerType(Qt::PreciseTimer);
    QSignalSpy halfPauseSpy(&halfPause, &QTimer::timeout);
    halfPause.start(ShortPause / 2);
    speaker.pronounceAndFinish(0);
    QCOMPARE(spy.count(), 0); // never from inside the call
    QVERIFY(spy.wait(Patience));
    if (pauses)
        QCOMPARE(halfPauseSpy.count(), 1);
    // Late reports from the player (end of media, stop, error) must not add a second one.
    QVERIFY(settle());
    QCOMPARE(spy.count(), 1);

    // The same Speaker serves the next word just as well, and nothing left
    // over from the first word is taken for the end of the second.
    speaker.pronounceAndFinish(0);
    QVERIFY(spy.wait(Patience));
    QVERIFY(settle());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(synthesizer ? synthesizer->calls.load() : 0, synthesized);
    if (synthesizer && synthesized > 0)
        QCOMPARE(synthesizer->languages.first(), language);
}

void SpeakerTest::newCallWhilePendingStillFinishesEachCallOnce_data()
{
    QTest::addColumn<bool>("withSound");
    QTest::addColumn<int>("voice");
    QTest::newRow("pauses") << false << int(NoSynthesizer);
    QTest::newRow("playback") << true << int(NoSynthesizer);
    QTest::newRow("synthesis") << false << int(Speaking);
}

void SpeakerTest::newCallWhilePendingStillFinishesEachCallOnce()
{
    QFETCH(bool, withSound);
    QFETCH(int, voice);
    if (withSound)
        writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    (&workspace->words.units)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});

    Speaker speaker(synthesizerFor(voice), &workspace->words.units, &workspace->settings);
    QSignalSpy spy(&speaker, &Speaker::finished);
    speaker.pronounceAndFinish(0);
    speaker.pronounceAndFinish(0);
    speaker.pronounceAndFinish(0);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, Patience);
    QVERIFY(settle());
    QCOMPARE(spy.count(), 3);
}

void SpeakerTest::cancelDuringSynthesisReportsNothing()
{
    (&workspace->words.units)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    const auto synthesizer = std::make_shared<FakeSynthesizer>(true, FakeSynthesizer::Held);
    const auto release = qScopeGuard([&synthesizer] { synthesizer->release(); });
    Speaker speaker(synthesizer, &workspace->words.units, &workspace->settings);
    QSignalSpy spy(&speaker, &Speaker::finished);
    speaker.pronounceAndFinish(0);
    QTRY_COMPARE(synthesizer->calls.load(), 1);
    speaker.cancel();
    synthesizer->release();
    QVERIFY(settle());
    QCOMPARE(spy.count(), 0);
    // The abandoned synthesis still filled the cache for the next time.
    QVERIFY(QFileInfo(speaker.speechCacheFile(QStringLiteral("house"), QStringLiteral("en"))).isFile());
    speaker.pronounceAndFinish(0);
    QVERIFY(spy.wait(Patience));
    QVERIFY(settle());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(synthesizer->calls.load(), 1);
}

void SpeakerTest::destroyedWhileWaitingNeitherCrashesNorReports()
{
    writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    (&workspace->words.units)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    int reports = 0;
    {
        // Half-way through the recording when it goes.
        Speaker speaker(&workspace->words.units, &workspace->settings);
        connect(&speaker, &Speaker::finished, this, [&reports] { ++reports; });
        speaker.pronounceAndFinish(0);
        const auto* player = speaker.findChild<QMediaPlayer*>();
        QVERIFY(player);
        QVERIFY(QTest::qWaitFor([player] { return player->position() > 0; }, Patience));
    }
    const auto synthesizer = std::make_shared<FakeSynthesizer>(true, FakeSynthesizer::Held);
    const auto release = qScopeGuard([&synthesizer] { synthesizer->release(); });
    {
        // Still synthesizing when it goes.
        Speaker speaker(synthesizer, &workspace->words.units, &workspace->settings);
        (&workspace->words.units)->setUnits({{QStringLiteral("mouse"), QStringLiteral("мышь")}});
        connect(&speaker, &Speaker::finished, this, [&reports] { ++reports; });
        speaker.pronounceAndFinish(0);
        QTRY_COMPARE(synthesizer->calls.load(), 1);
    }
    synthesizer->release();
    {
        Speaker speaker(&workspace->words.units, &workspace->settings);
        connect(&speaker, &Speaker::finished, this, [&reports] { ++reports; });
        workspace->settings.speakEnabled = false;
        speaker.pronounceAndFinish(0);
    }
    // A Speaker that lives through its pause reports, and by then the pauses
    // of the ones destroyed have long run out.
    Speaker survivor(&workspace->words.units, &workspace->settings);
    QSignalSpy spy(&survivor, &Speaker::finished);
    survivor.pronounceAndFinish(0);
    QVERIFY(spy.wait(Patience));
    QVERIFY(settle());
    QCOMPARE(reports, 0);
}

void SpeakerTest::plainPronounceNeverReports()
{
    writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    (&workspace->words.units)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    Speaker speaker(std::make_shared<FakeSynthesizer>(true), &workspace->words.units, &workspace->settings);
    QSignalSpy spy(&speaker, &Speaker::finished);
    speaker.pronounce(0);
    speaker.pronounce(-1);
    speaker.pronounce(0);
    workspace->settings.learningLanguage = QStringLiteral("fr");
    speaker.pronounce(0);
    // The French word is synthesized and then played to its end.
    QVERIFY(settle());
    const auto* player = speaker.findChild<QMediaPlayer*>();
    QVERIFY(player);
    QVERIFY(QTest::qWaitFor([player] { return player->mediaStatus() == QMediaPlayer::EndOfMedia; }, Patience));
    QVERIFY(settle());
    QCOMPARE(spy.count(), 0);
}

void SpeakerTest::espeakSpeaksKnownLanguagesOnly_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("speaks");
    QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("house") << true;
    QTest::newRow("German") << QStringLiteral("de") << QStringLiteral("Straße") << true;
    QTest::newRow("French after German") << QStringLiteral("fr") << QStringLiteral("château") << true;
    QTest::newRow("no such language") << QStringLiteral("xx") << QStringLiteral("house") << false;
    QTest::newRow("no language") << QString() << QStringLiteral("house") << false;
    QTest::newRow("nothing to say") << QStringLiteral("en") << QStringLiteral("  ") << false;
}

void SpeakerTest::espeakSpeaksKnownLanguagesOnly()
{
    QFETCH(QString, language);
    QFETCH(QString, word);
    QFETCH(bool, speaks);
    QString error;
    const QByteArray wav = EspeakSynthesizer::shared()->synthesize(word, language, &error);
    QCOMPARE(!wav.isEmpty(), speaks);
    QCOMPARE(error.isEmpty(), speaks);
    if (speaks) {
        QVERIFY(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt ");
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(wav.size() - 44));
        QVERIFY(wav.size() > 44 + 2000);
    }
}

VOCABRIUM_TEST_MAIN(SpeakerTest)
#include "tst_speaker.moc"
