#include "session/toolkittranslation.h"

#include <QLocale>
#include <QTranslator>

bool ToolkitTranslation::load(QTranslator& translator, const QLocale& locale, const QString& folder)
{
    return translator.load(QStringLiteral("qt") + locale.name(), folder)
           || translator.load(QStringLiteral("qtru"), folder);
}
