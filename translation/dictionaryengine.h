#pragma once

#include "translation/translationengine.h"

class OfflineDictionaries;

/*! Translates from the installed dictd dictionaries (OfflineDictionaries). */
class DictionaryEngine : public TranslationEngine
{
    Q_OBJECT

public:
    explicit DictionaryEngine(OfflineDictionaries* dictionaries, QObject* parent = nullptr)
        : TranslationEngine(parent)
        , dictionaries(dictionaries)
    {
    }

    void translate(const TranslationRequest& request) override;

private:
    OfflineDictionaries* dictionaries;
};
