#pragma once

#include <QString>

#include <memory>
#include <optional>

class Settings;
class DictionaryFiles;
class LanguageDetector;
class Transcriptions;
class Units;

/*!
    The learning language is the open dictionary's: the one kept beside it
    ("name.lang"), or else the one its words tell, kept beside it when the
    guess is sure and proposed to the learner when it is not. The
    transcription table follows the learning language. A dictionary whose
    files are kept unchanged gets no language written beside it either.
*/
class LearningLanguage
{
public:
    LearningLanguage(Settings* settings, DictionaryFiles* files, Units* units, Transcriptions* transcriptions);
    ~LearningLanguage();

    /*! The transcription table's file name for \a languageCode; empty when it has none. */
    static QString transcriptionFileFor(const QString& languageCode);

    /*! Makes the open dictionary's language the learning language. Returns
        the language to propose when the learner should be asked. */
    std::optional<QString> applyOpen();

    /*! The learner named \a language for \a dicPath: it is kept beside it
        and becomes the learning language. Returns whether that changed. */
    bool choose(const QString& dicPath, const QString& language);

    /*! The learner set the learning language (it was \a before): the open
        dictionary keeps it, unless nothing changed and it has one already.
        Returns whether it was taken; \a error says why it was not kept. */
    bool adoptChosen(const QString& before, QString* error);

private:
    Settings* settings;
    void set(const QString& language);
    QString keep(const QString& dicPath, const QString& language);

    DictionaryFiles* files;
    Units* units;
    Transcriptions* transcriptions;
    // Hunspell dictionaries of every language, read the first time a
    // dictionary without a language is opened.
    std::unique_ptr<LanguageDetector> detector;
};
