#pragma once

#include <QUrl>

/*!
    Addresses of the outside services, changeable without a rebuild: an
    environment variable wins, then a key of the settings store, then the
    built-in default.
*/
namespace Services {

/*! The value of environment variable \a variable, else settings key \a key, else \a fallback. */
QString configured(const char* variable, const QString& key, const QString& fallback);

/*! Root of the dictionary site, always ending in "/".
    VOCABRIUM_SITE_URL or the settings key "siteUrl"; by default the
    project's own site served locally (tools/serve-site.sh). */
QUrl siteRoot();

/*! The page shown in the advert strip: "advert.html" at the site root,
    or VOCABRIUM_ADVERT_URL / "advertUrl". */
QUrl advertUrl();

} // namespace Services
