#pragma once

#include <QUrl>

#include "session/workspace.h"
#include "translation/translatorsettings.h"

/*! Makes every translator of the test ask only the V2 service at \a url,
    whatever dictionaries the machine has installed. */
inline void useOnlyV2Service(Workspace* workspace, const QUrl& url, int timeout)
{
    TranslatorSettings settings = workspace->translatorSettings;
    settings.engines = {TranslatorSettings::v2Engine()};
    settings.v2Url = url.toString();
    settings.timeout = timeout;
    settings.dictionaryFolder.clear();
    settings.standardFolders.clear();
    workspace->translatorSettings = settings;
}
