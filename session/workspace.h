#pragma once

#include "config/settings.h"
#include "model/wordmodel.h"
#include "speech/transcriptions.h"
#include "translation/offlinedictionaries.h"
#include "translation/translatorsettings.h"

/*!
    What one run of the program shares: the settings, the words, the
    transcription table, the installed dictionaries and how words are
    translated. Built once, where the program (or a test, or a tool) starts,
    and handed by reference to the windows and dialogs, which pass on to the
    classes below them only the parts those use. Nothing fetches it.
*/
class Workspace
{
public:
    /*! \a settings as read from the store (or defaults); the learned-words
        list is read from the file they name and the transcription table of
        their learning language is loaded. */
    explicit Workspace(const Settings& settings = Settings(),
                       const TranslatorSettings& translatorSettings = TranslatorSettings::read());
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    Settings settings;
    TranslatorSettings translatorSettings;
    WordModel words;
    Transcriptions transcriptions;
    OfflineDictionaries dictionaries;
};
