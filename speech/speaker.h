#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QMediaPlayer;
class Units;

/*!
    Pronounces words of the open dictionary from recorded sound files:
    "Sounds/" + first character + "/" + word + ".mp3" (or ".wav"), relative to
    the program's folder, with the word's letter case as stored.

    pronounce() just plays. pronounceAndFinish() reports the end through
    finished(), exactly once per call, whatever happens: after playback, after
    a pause when speech is off or the word has no file, and also when the file
    cannot be played (broken file, missing codec, no audio device), with a
    time limit as the last resort. A call made while an earlier one is still
    pending cuts the earlier word off and reports its end at once (queued, so
    the caller is not re-entered), then goes on with the new word: every call
    still gets its one finished(). A Speaker destroyed while waiting reports
    nothing.

    Nothing here blocks: playback and every timer run on the event loop.
*/
class Speaker : public QObject
{
    Q_OBJECT

public:
    explicit Speaker(QObject* parent = nullptr);
    ~Speaker() override;

    /*! Path of the sound file of word \a key, or an empty string when there is none. */
    QString soundFile(int key) const;

    /*! Pause reported by pronounceAndFinish() when nothing is played; 1200 ms
        unless changed. Tests shorten it to stay fast. */
    static int pauseInterval();
    static void setPauseInterval(int milliseconds);

public slots:
    void pronounce(int key);
    void pronounceAndFinish(int key);
    /*! Drops a pending pronounceAndFinish() without reporting it: the
        exercise that asked for it was abandoned. */
    void cancel();

signals:
    void finished();

private:
    QMediaPlayer* createPlayer();
    void playAndFinish(const QString& file);
    void releaseFinishingPlayer();
    void finishCall(quint64 call);
    void finishCallLater(quint64 call);

    Units* units;
    QMediaPlayer* speechPlayer = nullptr;
    // A fresh player for every reported playback, so that late signals of a
    // word that was cut off can never be taken for the end of the next one.
    QMediaPlayer* finishingPlayer = nullptr;
    QTimer pauseTimer;
    QTimer watchdog;
    quint64 currentCall = 0;
    bool waiting = false;
};
