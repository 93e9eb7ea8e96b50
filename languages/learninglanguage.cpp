#include "languages/learninglanguage.h"

#include <QHash>
#include <QStringList>

#include "config/settings.h"
#include "languages/dictionarylanguage.h"
#include "languages/languagedetector.h"
#include "model/dictionaryfiles.h"
#include "model/units.h"
#include "speech/transcriptions.h"

LearningLanguage::LearningLanguage(Settings* settings, DictionaryFiles* files, Units* units,
                                   Transcriptions* transcriptions)
    : settings(settings)
    , files(files)
    , units(units)
    , transcriptions(transcriptions)
{
}

LearningLanguage::~LearningLanguage() = default;

QString LearningLanguage::transcriptionFileFor(const QString& languageCode)
{
    static const QHash<QString, QString> tables = {
        {QStringLiteral("en"), QStringLiteral("English")},
        {QStringLiteral("fr"), QStringLiteral("French")},
        {QStringLiteral("de"), QStringLiteral("German")},
        {QStringLiteral("es"), QStringLiteral("Spanish")},
        {QStringLiteral("it"), QStringLiteral("Italian")},
    };
    return tables.value(languageCode);
}

std::optional<QString> LearningLanguage::applyOpen()
{
    const QString dic = files->openFileName();
    const DictionaryLanguage::Reading reading = DictionaryLanguage::read(dic);
    if (reading.kind == DictionaryLanguage::Reading::Whole) {
        set(reading.foreign);
        return std::nullopt;
    }
    // Told from the words, once: the answer is kept beside the dictionary.
    QStringList words;
    const QList<Unit> unitList = units->unitList();
    words.reserve(unitList.size());
    for (const Unit& unit : unitList)
        words.append(unit.word);
    LanguageDetector::Guess guess;
    if (!words.isEmpty()) {
        if (!detector)
            detector = std::make_unique<LanguageDetector>();
        guess = detector->detect(words);
    }
    const LanguageDetector::Decision decision = LanguageDetector::decide(words, guess, settings->learningLanguage);
    set(decision.language);
    if (decision.keep)
        keep(dic, decision.language);
    if (decision.ask)
        return decision.language;
    return std::nullopt;
}

bool LearningLanguage::choose(const QString& dicPath, const QString& language)
{
    keep(dicPath, language);
    if (language == settings->learningLanguage)
        return false;
    set(language);
    return true;
}

bool LearningLanguage::adoptChosen(const QString& before, QString* error)
{
    // The language belongs to the open dictionary, not to every one.
    const QString dic = files->openFileName();
    if (settings->learningLanguage == before && DictionaryLanguage::read(dic).kind == DictionaryLanguage::Reading::Whole)
        return false;
    *error = keep(dic, settings->learningLanguage);
    set(settings->learningLanguage);
    return true;
}

void LearningLanguage::set(const QString& language)
{
    // Transcriptions, the voice, translations, the words-from-text
    // direction and the export's column names all read the learning
    // language: the open dictionary's.
    settings->learningLanguage = language;
    settings->transcriptionFileName = transcriptionFileFor(language);
    transcriptions->load();
}

QString LearningLanguage::keep(const QString& dicPath, const QString& language)
{
    // A copy that keeps its files unchanged writes no language beside them either.
    if (!files->isSaveable())
        return QString();
    return DictionaryLanguage::write(dicPath, language);
}
