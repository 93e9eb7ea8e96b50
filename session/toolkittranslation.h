#pragma once

#include <QString>

class QLocale;
class QTranslator;

/*!
    Qt's own texts (standard buttons, file dialogs) for an interface that is
    Russian whatever the system says.
*/
class ToolkitTranslation
{
public:
    /*!
        Loads into \a translator the catalogue of \a folder named "qt"
        followed by \a locale's name, shortened at its last underscore when
        the exact one is missing; when there is none for that locale (C,
        English, any language not shipped), the Russian one, so the
        toolkit's buttons speak the interface's language. Returns whether a
        catalogue was loaded.
    */
    static bool load(QTranslator& translator, const QLocale& locale, const QString& folder);
};
