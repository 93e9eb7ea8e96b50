#pragma once

#include <QByteArray>
#include <QString>

/*!
    Speaks a word that has no recording. Speaker calls synthesize() from a
    worker thread, so an implementation must allow calls from any thread; it
    may serve them one at a time.
*/
class SpeechSynthesizer
{
public:
    virtual ~SpeechSynthesizer() = default;

    /*! Names the voice set; synthesized words are cached under this name,
        so a different synthesizer never plays another one's files. */
    virtual QString name() const = 0;

    /*! A whole WAV file of \a text spoken in \a language (a code such as
        "en" or "fr", as in learningLanguage). Empty, with \a error saying
        why, when the language has no voice or synthesis failed. */
    virtual QByteArray synthesize(const QString& text, const QString& language, QString* error) = 0;
};
