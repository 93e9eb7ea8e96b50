#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtEndian>

#include <cmath>

#include "model/units.h"
#include "speech/speaker.h"
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

// A valid PCM WAV file: 0.2 s of a quiet 440 Hz tone, 8 kHz, mono, 16 bits.
QByteArray tinyWav()
{
    const int rate = 8000;
    const int samples = rate / 5;
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

} // namespace

class SpeakerTest : public QObject
{
    Q_OBJECT

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
    void destroyedWhileWaitingNeitherCrashesNorReports();
    void plainPronounceNeverReports();
};

void SpeakerTest::initTestCase()
{
    QCOMPARE(Speaker::pauseInterval(), 1200);
    Speaker::setPauseInterval(ShortPause);
}

void SpeakerTest::init()
{
    speakEnabled = true;
}

void SpeakerTest::cleanup()
{
    QDir(QStringLiteral("Sounds")).removeRecursively();
}

void SpeakerTest::soundFileResolution_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    QTest::newRow("wav only") << QStringLiteral("house") << QStringList{QStringLiteral("Sounds/h/house.wav")}
                              << QStringLiteral("Sounds/h/house.wav");
    QTest::newRow("mp3 before wav")
        << QStringLiteral("house")
        << QStringList{QStringLiteral("Sounds/h/house.wav"), QStringLiteral("Sounds/h/house.mp3")}
        << QStringLiteral("Sounds/h/house.mp3");
    QTest::newRow("no file") << QStringLiteral("house") << QStringList{QStringLiteral("Sounds/h/home.wav")}
                             << QString();
    QTest::newRow("capital folder as stored")
        << QStringLiteral("Monday") << QStringList{QStringLiteral("Sounds/M/Monday.wav")}
        << QStringLiteral("Sounds/M/Monday.wav");
    QTest::newRow("case is not folded")
        << QStringLiteral("Monday")
        << QStringList{QStringLiteral("Sounds/m/Monday.wav"), QStringLiteral("Sounds/m/monday.wav")}
        << QString();
    QTest::newRow("phrase") << QStringLiteral("of course") << QStringList{QStringLiteral("Sounds/o/of course.wav")}
                            << QStringLiteral("Sounds/o/of course.wav");
    QTest::newRow("non-latin") << QStringLiteral("über") << QStringList{QStringLiteral("Sounds/ü/über.mp3")}
                               << QStringLiteral("Sounds/ü/über.mp3");
    QTest::newRow("folder named like the file is skipped")
        << QStringLiteral("house")
        << QStringList{QStringLiteral("Sounds/h/house.mp3/x"), QStringLiteral("Sounds/h/house.wav")}
        << QStringLiteral("Sounds/h/house.wav");
    QTest::newRow("separator cannot leave the folder")
        << QStringLiteral("../h/house") << QStringList{QStringLiteral("Sounds/h/house.wav")} << QString();
    QTest::newRow("missing key means empty word")
        << QString() << QStringList{QStringLiteral("Sounds/.wav")} << QStringLiteral("Sounds/.wav");
}

void SpeakerTest::soundFileResolution()
{
    QFETCH(QString, word);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    for (const QString& file : files)
        writeFile(file, "x");
    Units::instance(0)->setUnits({{QStringLiteral("unused"), QStringLiteral("-")}});
    int key = -1;
    if (!word.isEmpty()) {
        Units::instance(0)->setUnits({{word, QStringLiteral("перевод")}});
        key = 0;
    }
    Speaker speaker;
    QCOMPARE(speaker.soundFile(key), expected);
}

void SpeakerTest::finishedOncePerCall_data()
{
    QTest::addColumn<bool>("speech");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("pauses");

    const QByteArray wav = tinyWav();
    QTest::newRow("speech off") << false << QStringLiteral("Sounds/h/house.wav") << wav << true;
    QTest::newRow("no sound file") << true << QString() << QByteArray() << true;
    QTest::newRow("playable wav") << true << QStringLiteral("Sounds/h/house.wav") << wav << false;
    QTest::newRow("corrupt wav") << true << QStringLiteral("Sounds/h/house.wav")
                                 << QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 20) << false;
    QTest::newRow("garbage mp3") << true << QStringLiteral("Sounds/h/house.mp3") << QByteArray(4096, '\x5a')
                                 << false;
    QTest::newRow("empty file") << true << QStringLiteral("Sounds/h/house.wav") << QByteArray() << false;
}

void SpeakerTest::finishedOncePerCall()
{
    QFETCH(bool, speech);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, pauses);
    if (!file.isEmpty())
        writeFile(file, content);
    Units::instance(0)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    speakEnabled = speech;

    Speaker speaker;
    QSignalSpy spy(&speaker, &Speaker::finished);
    QElapsedTimer clock;
    clock.start();
    speaker.pronounceAndFinish(0);
    QCOMPARE(spy.count(), 0); // never from inside the call
    QVERIFY(spy.wait(Patience));
    if (pauses)
        QVERIFY(clock.elapsed() >= ShortPause - 5);
    // Late reports from the player (end of media, stop, error) must not add a second one.
    QTest::qWait(300);
    QCOMPARE(spy.count(), 1);

    // The same Speaker serves the next word just as well.
    speaker.pronounceAndFinish(0);
    QVERIFY(spy.wait(Patience));
    QTest::qWait(300);
    QCOMPARE(spy.count(), 2);
}

void SpeakerTest::newCallWhilePendingStillFinishesEachCallOnce_data()
{
    QTest::addColumn<bool>("withSound");
    QTest::newRow("pauses") << false;
    QTest::newRow("playback") << true;
}

void SpeakerTest::newCallWhilePendingStillFinishesEachCallOnce()
{
    QFETCH(bool, withSound);
    if (withSound)
        writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    Units::instance(0)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});

    Speaker speaker;
    QSignalSpy spy(&speaker, &Speaker::finished);
    speaker.pronounceAndFinish(0);
    speaker.pronounceAndFinish(0);
    speaker.pronounceAndFinish(0);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, Patience);
    QTest::qWait(300);
    QCOMPARE(spy.count(), 3);
}

void SpeakerTest::destroyedWhileWaitingNeitherCrashesNorReports()
{
    writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    Units::instance(0)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    int reports = 0;
    {
        Speaker speaker;
        connect(&speaker, &Speaker::finished, this, [&reports] { ++reports; });
        speaker.pronounceAndFinish(0);
        QTest::qWait(20);
    }
    {
        Speaker speaker;
        connect(&speaker, &Speaker::finished, this, [&reports] { ++reports; });
        speakEnabled = false;
        speaker.pronounceAndFinish(0);
    }
    QTest::qWait(ShortPause * 4);
    QCOMPARE(reports, 0);
}

void SpeakerTest::plainPronounceNeverReports()
{
    writeFile(QStringLiteral("Sounds/h/house.wav"), tinyWav());
    Units::instance(0)->setUnits({{QStringLiteral("house"), QStringLiteral("дом")}});
    Speaker speaker;
    QSignalSpy spy(&speaker, &Speaker::finished);
    speaker.pronounce(0);
    speaker.pronounce(-1);
    speaker.pronounce(0);
    QTest::qWait(800);
    QCOMPARE(spy.count(), 0);
}

VOCABRIUM_TEST_MAIN(SpeakerTest)
#include "tst_speaker.moc"
