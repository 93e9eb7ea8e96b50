#pragma once

#include <QMutex>

#include <memory>

#include "speech/speechsynthesizer.h"

/*!
    Speech from the libespeak-ng library, in memory. The library keeps one
    global state, so the process has one instance (shared()) and calls are
    served one at a time. The library is started on the first call, in the
    calling worker thread, so start-up and the window never wait for it.
*/
class EspeakSynthesizer : public SpeechSynthesizer
{
public:
    /*! The process-wide instance. */
    static std::shared_ptr<SpeechSynthesizer> shared();

    QString name() const override;
    QByteArray synthesize(const QString& text, const QString& language, QString* error) override;

    /*! The espeak-ng voice name for a language code: "en" → "en-us", "fr" →
        "fr-fr", otherwise the code's first part in lower case. */
    static QString voiceFor(const QString& language);

    ~EspeakSynthesizer() override;

private:
    EspeakSynthesizer() = default;
    bool start(QString* error);

    QMutex mutex;
    bool started = false;
    bool failedToStart = false;
    int sampleRate = 0;
    QString currentVoice;
};
