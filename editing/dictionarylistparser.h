#pragma once

#include <QList>
#include <QString>

/*!
    Reads the dictionary site's list page. No widgets and no network here, so
    the page's mark-up rules can be checked on saved pages.

    The page keeps all offered dictionaries in one paragraph; each entry ends
    with "<br>" and holds an anchor whose double-quoted target is the file's
    path below the site root and whose text is the dictionary's name, then
    "<num>" (starting with the number of words), "<author>" and "<inf>" (the
    description). Every double-quoted string of an entry makes a row.
*/
namespace DictionaryListParser {

/*! One offered dictionary as the table shows it. */
struct Entry
{
    QString name;
    QString count;
    QString description;
    QString author;
    QString address; //!< \a siteRoot followed by the quoted target
    /*! The words' language from the link's unquoted hreflang attribute
        ("fr"); empty on pages that do not give it. Unquoted, so readers
        that take every double-quoted string for an address still work. */
    QString language;
};

/*! The rows of \a page (already decoded), with addresses below \a siteRoot ("/" at its end). */
QList<Entry> parse(const QString& page, const QString& siteRoot);

/*! \a body decoded from windows-1251, the code page the site writes its list in. */
QString decodePage(const QByteArray& body);

} // namespace DictionaryListParser
