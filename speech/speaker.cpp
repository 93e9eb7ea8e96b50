#include "speech/speaker.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

#include "app/settings.h"
#include "model/units.h"

namespace {

int pauseMilliseconds = 1200;

// Local files load in a moment; a player that has not even found the length
// of its file by then is not going to play it.
constexpr int LoadTimeout = 5000;
// Slack after the known length before a playback that never reports its end
// is given up.
constexpr int EndTimeout = 3000;

bool isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

} // namespace

Speaker::Speaker(QObject* parent)
    : QObject(parent)
    , units(Units::instance(0))
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
    if (speechPlayer)
        speechPlayer->stop();
    if (finishingPlayer) {
        finishingPlayer->disconnect(this);
        finishingPlayer->stop();
    }
}

int Speaker::pauseInterval()
{
    return pauseMilliseconds;
}

void Speaker::setPauseInterval(int milliseconds)
{
    pauseMilliseconds = qMax(0, milliseconds);
}

QString Speaker::soundFile(int key) const
{
    const QString word = units->word(key);
    // A separator would lead the path out of the sound folder.
    if (word.contains(QLatin1Char('/')) || word.contains(QLatin1Char('\\')))
        return QString();
    QString base = QStringLiteral("Sounds/");
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

QMediaPlayer* Speaker::createPlayer()
{
    auto* player = new QMediaPlayer(this);
    player->setAudioOutput(new QAudioOutput(player));
    return player;
}

void Speaker::pronounce(int key)
{
    if (!speakEnabled)
        return;
    const QString file = soundFile(key);
    if (file.isEmpty()) {
        // The new word replaces the old one even when it has nothing to say.
        if (speechPlayer)
            speechPlayer->stop();
        return;
    }
    if (!speechPlayer)
        speechPlayer = createPlayer();
    speechPlayer->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    speechPlayer->play();
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
    ++currentCall;
    waiting = true;
    const QString file = speakEnabled ? soundFile(key) : QString();
    if (file.isEmpty()) {
        pauseTimer.start(pauseMilliseconds);
        return;
    }
    playAndFinish(file);
}

void Speaker::cancel()
{
    if (!waiting)
        return;
    waiting = false;
    // A new call number turns reports still on their way into stale ones.
    ++currentCall;
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
        pauseTimer.start(pauseMilliseconds);
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
    finishingPlayer->stop();
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
    pauseTimer.stop();
    watchdog.stop();
    releaseFinishingPlayer();
    emit finished();
}
