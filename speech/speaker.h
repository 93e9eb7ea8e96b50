#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QMediaPlayer;
class SpeechSynthesizer;
class Settings;
class Units;

/*!
    Pronounces words of the open dictionary. A recording is played when there
    is one for the learning language (the learningLanguage setting): English recordings
    lie at "Sounds/" + first character + "/" + word + ".mp3" (or ".wav"),
    recordings of another language under "Sounds/<code>/" the same way,
    relative to the program's folder, with the word's letter case as stored.
    Before those, the recordings that came with the open dictionary are
    looked for (DictionaryRecordings), in any language.
    A word without a recording is spoken by the synthesizer in the learning
    language, in a worker thread; the result is kept as a WAV file in the
    user's cache folder, so a word is synthesized once.

    pronounce() just plays. pronounceAndFinish() reports the end through
    finished(), exactly once per call, whatever happens: after playback, after
    a pause when speech is off or nothing can be played (no recording and no
    voice, a failed synthesis), and also when the file cannot be played
    (broken file, missing codec, no audio device), with a time limit as the
    last resort. A call made while an earlier one is still pending cuts the
    earlier word off and reports its end at once (queued, so the caller is not
    re-entered), then goes on with the new word: every call still gets its
    one finished(). cancel() drops a pending call without reporting it. A
    Speaker destroyed while waiting reports nothing.

    Nothing here blocks: synthesis runs in a worker thread, playback and every
    timer on the event loop.
*/
class Speaker : public QObject
{
    Q_OBJECT

public:
    /*! Speaks the words of \a units with the process-wide espeak-ng
        synthesizer, in the language and on or off as \a settings say. */
    Speaker(const Units* units, const Settings* settings, QObject* parent = nullptr);
    /*! Speaks with \a synthesizer; none means recordings only. */
    Speaker(std::shared_ptr<SpeechSynthesizer> synthesizer, const Units* units, const Settings* settings,
            QObject* parent = nullptr);
    ~Speaker() override;

    /*! Path of the recording of word \a key in the learning language, or an
        empty string when there is none. */
    QString soundFile(int key) const;

    /*! Where the synthesized speech of \a word in \a language is kept. */
    QString speechCacheFile(const QString& word, const QString& language) const;

    /*! Pause reported by pronounceAndFinish() when nothing is played; 1200 ms
        unless changed. Tests shorten it to stay fast. */
    /*! The pause after an exercise without sound: 1200 ms, or
        VOCABRIUM_SPEECH_PAUSE / the settings key "speechPause". */
    static int pauseInterval();

public slots:
    void pronounce(int key);
    void pronounceAndFinish(int key);
    /*! Drops a pending pronounceAndFinish() without reporting it: the
        exercise that asked for it was abandoned. */
    void cancel();

signals:
    void finished();

private:
    using FileHandler = std::function<void(const QString& file)>;

    QMediaPlayer* createPlayer();
    void playAndFinish(const QString& file);
    void releaseFinishingPlayer();
    void finishCall(quint64 call);
    void finishCallLater(quint64 call);
    /*! Calls \a handler with a file to play for word \a key, or with an empty
        string; at once when a recording or a cached file exists, else once
        the synthesizer is done. Returns the job's watcher, if one runs. */
    QObject* findSpeech(int key, const FileHandler& handler);
    static void dropJob(QPointer<QObject>& job);

    const Units* units;
    const Settings* settings;
    std::shared_ptr<SpeechSynthesizer> synthesizer;
    QMediaPlayer* speechPlayer = nullptr;
    // A fresh player for every reported playback, so that late signals of a
    // word that was cut off can never be taken for the end of the next one.
    QMediaPlayer* finishingPlayer = nullptr;
    QTimer pauseTimer;
    QTimer watchdog;
    quint64 currentCall = 0;
    bool waiting = false;
    // The synthesis each kind of call waits for; a newer call drops it.
    QPointer<QObject> finishingJob;
    QPointer<QObject> plainJob;
};
