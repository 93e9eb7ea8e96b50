#pragma once

#include "translation/translationengine.h"

/*! Translates from the installed dictd dictionaries (OfflineDictionaries). */
class DictionaryEngine : public TranslationEngine
{
    Q_OBJECT

public:
    using TranslationEngine::TranslationEngine;

    void translate(const TranslationRequest& request) override;
};
