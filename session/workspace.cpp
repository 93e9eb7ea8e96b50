#include "session/workspace.h"

Workspace::Workspace(const Settings& settings, const TranslatorSettings& translatorSettings)
    : settings(settings)
    , translatorSettings(translatorSettings)
    , words(&this->settings)
    , transcriptions(&words.units, &this->settings)
{
    words.learnedUnits.setFileName(this->settings.learnedWordsName);
    words.learnedUnits.load();
}
