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
    VOCABRIUM_SITE_URL or the settings key "siteUrl" (http:, https: or
    file:); by default the site collection laid out beside the program, the
    folder "site" of its data folder, read as a file: address. */
QUrl siteRoot();

/*! The file: address of the site collection beside the program. */
QUrl localSiteRoot(const QString& programFolder);

/*! The site's list page, "dictionaries.html" at the site root: the page a
    person can open in a browser to see what the site offers. */
QUrl dictionaryListUrl();

/*! Milliseconds from a configured value (VOCABRIUM_<variable> or the
    settings key \a key), \a fallback when absent or not a number; tests
    and slow networks shorten or lengthen the waits this way. */
int configuredMilliseconds(const char* variable, const QString& key, int fallback);

/*! The page shown in the advert strip: "advert.html" at the site root,
    or VOCABRIUM_ADVERT_URL / "advertUrl". */
QUrl advertUrl();

} // namespace Services
