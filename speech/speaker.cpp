#include "speech/speaker.h"

#include <QAudioOutput>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMediaPlayer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include "config/services.h"
#include "config/settings.h"
#include "model/units.h"
#include "speech/dictionaryrecordings.h"
#include "speech/espeaksynthesizer.h"
#include "speech/speechsynthesizer.h"

namespace {


// Local files load in a moment; a player that has not even found the length
// of its file by then is not going to play it.
constexpr int LoadTimeout = 5000;
// Slack after the known length before a playback that never reports its end
// is given up.
constexpr int EndTimeout = 3000;
// A word takes milliseconds; a synthesizer still busy after this is stuck.
constexpr int SynthesisTimeout = 5000;

bool isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

// The language part of a code ("en", "pt-BR" → "pt"), letters only, so that
// it can name a folder.
QString languageCode(const QString& language)
{
    QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    for (const QChar c : code)
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return QString();
    return code;
}

// Runs in a worker thread: speaks the word and keeps the result at path.
QString synthesizeInto(const std::shared_ptr<SpeechSynthesizer>& synthesizer, const QString& word,
                       const QString& language, const QString& path)
{
    if (isFile(path))
        return path; // another Speaker got there first
    const QByteArray wav = synthesizer->synthesize(word, language, nullptr);
    if (wav.isEmpty())
        return QString();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size() || !file.commit())
        return QString();
    return path;
}

// Qt's FFmpeg back end waits a full second in stop() on a player whose file
// failed to load, and the lesson would freeze with it; such a player plays
// nothing, so there is nothing to stop.
void stopPlaying(QMediaPlayer* player)
{
    if (player->mediaStatus() != QMediaPlayer::InvalidMedia)
        player->stop();
}

} // namespace

Speaker::Speaker(const Units* units, const Settings* settings, QObject* parent)
    : Speaker(EspeakSynthesizer::shared(), units, settings, parent)
{
}

Speaker::Speaker(std::shared_ptr<SpeechSynthesizer> synthesizer, const Units* units, const Settings* settings,
                 QObject* parent)
    : QObject(parent)
    , units(units)
    , settings(settings)
    , synthesizer(std::move(synthesizer))
{
    pauseTimer.setSingleShot(true);
    watchdog.setSingleShot(true);
    connect(&pauseTimer, &QTimer::timeout, this, [this] { finishCall(currentCall); });
    connect(&watchdog, &QTimer::timeout, this, [this] { finishCall(currentCall); });
}

Speaker::~Speaker()
{
    // Players are children and go with us; stop them first so no sound
    // outlives the lesson that started it.
    dropJob(finishingJob);
    dropJob(plainJob);
    if (speechPlayer)
        stopPlaying(speechPlayer);
    if (finishingPlayer) {
        finishingPlayer->disconnect(this);
        stopPlaying(finishingPlayer);
    }
}

int Speaker::pauseInterval()
{
    return Services::configuredMilliseconds("VOCABRIUM_SPEECH_PAUSE", QStringLiteral("speechPause"), 1200);
}

QString Speaker::soundFile(int key) const
{
    const QString word = units->word(key);
    // A separator would lead the path out of the sound folder.
    if (word.contains(QLatin1Char('/')) || word.contains(QLatin1Char('\\')))
        return QString();
    // The dictionary's own recordings say the word as its maker meant it.
    if (!word.isEmpty() && !units->fileName().isEmpty()) {
        const QString own = DictionaryRecordings::folder(units->fileName()) + QLatin1Char('/') + word + QLatin1Char('.');
        for (const QString& suffix : DictionaryRecordings::suffixes()) {
            if (isFile(own + suffix))
                return own + suffix;
        }
    }
    // The classic "Sounds/" folder holds English recordings; an English
    // recording played for a French word spelled the same would teach the
    // wrong sound.
    const QString language = languageCode(settings->learningLanguage);
    if (language.isEmpty())
        return QString();
    QString base = QStringLiteral("Sounds/");
    if (language != QLatin1String("en"))
        base += language + QLatin1Char('/');
    if (!word.isEmpty()) {
        const qsizetype first = word.at(0).isHighSurrogate() && word.size() > 1 ? 2 : 1;
        base += word.left(first) + QLatin1Char('/') + word;
    }
    const QString mp3 = base + QStringLiteral(".mp3");
    if (isFile(mp3))
        return mp3;
    const QString wav = base + QStringLiteral(".wav");
    if (isFile(wav))
        return wav;
    return QString();
}

QString Speaker::speechCacheFile(const QString& word, const QString& language) const
{
    // Hashed: a word may hold any character, a file name may not.
    const QByteArray hash = QCryptographicHash::hash(word.toUtf8(), QCryptographicHash::Sha1).toHex();
    const QString code = languageCode(language);
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/speech/")
        + (synthesizer ? synthesizer->name() : QString()) + QLatin1Char('/')
        + (code.isEmpty() ? QStringLiteral("none") : code) + QLatin1Char('/') + QString::fromLatin1(hash)
        + QStringLiteral(".wav");
}

QObject* Speaker::findSpeech(int key, const FileHandler& handler)
{
    const QString recording = soundFile(key);
    const QString word = units->word(key).trimmed();
    if (!recording.isEmpty() || !synthesizer || word.isEmpty()) {
        handler(recording);
        return nullptr;
    }
    const QString language = settings->learningLanguage;
    const QString cached = speechCacheFile(word, language);
    if (isFile(cached)) {
        handler(cached);
        return nullptr;
    }
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, handler] {
        watcher->deleteLater();
        handler(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(synthesizeInto, synthesizer, word, language, cached));
    return watcher;
}

void Speaker::dropJob(QPointer<QObject>& job)
{
    // The synthesis itself goes on in its thread and still fills the cache;
    // only its answer is no longer wanted.
    if (job) {
        job->disconnect();
        job->deleteLater();
    }
    job = nullptr;
}

QMediaPlayer* Speaker::createPlayer()
{
    auto* player = new QMediaPlayer(this);
    player->setAudioOutput(new QAudioOutput(player));
    return player;
}

void Speaker::pronounce(int key)
{
    if (!settings->speakEnabled)
        return;
    // The new word replaces the old one, even when it has nothing to say.
    dropJob(plainJob);
    if (speechPlayer)
        stopPlaying(speechPlayer);
    plainJob = findSpeech(key, [this](const QString& file) {
        plainJob = nullptr;
        if (file.isEmpty() || !settings->speakEnabled)
            return;
        if (!speechPlayer)
            speechPlayer = createPlayer();
        speechPlayer->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
        speechPlayer->play();
    });
}

void Speaker::pronounceAndFinish(int key)
{
    if (waiting) {
        // The earlier word is cut off; its caller still gets its end.
        releaseFinishingPlayer();
        pauseTimer.stop();
        watchdog.stop();
        waiting = false;
        QTimer::singleShot(0, this, &Speaker::finished);
    }
    dropJob(finishingJob);
    ++currentCall;
    waiting = true;
    if (!settings->speakEnabled) {
        pauseTimer.start(pauseInterval());
        return;
    }
    const quint64 call = currentCall;
    finishingJob = findSpeech(key, [this, call](const QString& file) {
        finishingJob = nullptr;
        if (call != currentCall || !waiting)
            return;
        if (file.isEmpty())
            pauseTimer.start(pauseInterval());
        else
            playAndFinish(file);
    });
    if (finishingJob)
        watchdog.start(SynthesisTimeout);
}

void Speaker::cancel()
{
    if (!waiting)
        return;
    waiting = false;
    // A new call number turns reports still on their way into stale ones.
    ++currentCall;
    dropJob(finishingJob);
    pauseTimer.stop();
    watchdog.stop();
    releaseFinishingPlayer();
}

void Speaker::playAndFinish(const QString& file)
{
    finishingPlayer = createPlayer();
    if (!finishingPlayer->isAvailable()) {
        // No multimedia back end at all: behave as for a word without sound.
        releaseFinishingPlayer();
        pauseTimer.start(pauseInterval());
        return;
    }
    const quint64 call = currentCall;
    QMediaPlayer* player = finishingPlayer;
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this, call](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
                    finishCallLater(call);
            });
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, call](QMediaPlayer::Error error) {
                if (error != QMediaPlayer::NoError)
                    finishCallLater(call);
            });
    connect(player, &QMediaPlayer::playbackStateChanged, this,
            [this, call](QMediaPlayer::PlaybackState state) {
                // We never stop this player ourselves while it is connected,
                // so a stop is the back end giving up or the end of the file.
                if (state == QMediaPlayer::StoppedState)
                    finishCallLater(call);
            });
    connect(player, &QMediaPlayer::durationChanged, this, [this, call](qint64 duration) {
        if (call == currentCall && waiting && duration > 0)
            watchdog.start(int(qMin<qint64>(duration, 10 * 60 * 1000)) + EndTimeout);
    });
    watchdog.start(LoadTimeout);
    player->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    player->play();
}

void Speaker::releaseFinishingPlayer()
{
    if (!finishingPlayer)
        return;
    finishingPlayer->disconnect(this);
    stopPlaying(finishingPlayer);
    finishingPlayer->deleteLater();
    finishingPlayer = nullptr;
}

void Speaker::finishCallLater(quint64 call)
{
    // Players may report from inside setSource() or play(); reporting from the
    // event loop keeps the caller from being re-entered.
    QTimer::singleShot(0, this, [this, call] { finishCall(call); });
}

void Speaker::finishCall(quint64 call)
{
    if (!waiting || call != currentCall)
        return;
    waiting = false;
    dropJob(finishingJob);
    pauseTimer.stop();
    watchdog.stop();
    releaseFinishingPlayer();
    emit finished();
}
