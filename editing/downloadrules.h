#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

/*!
    What the downloader accepts from the dictionary site before anything
    reaches the user's dictionaries folder. The site is outside the program's
    control, so both the file name (taken from the list page) and the body
    (whatever the server sent) are checked.
*/
namespace DownloadRules {

/*!
    The file name to store the download at \a address under: the address's
    last path component when it is a plain name ending in ".dic". Anything
    that could leave the dictionaries folder or name a strange file (folder
    separators, "..", percent escapes, control characters, a leading dot, a
    bare ".dic") gives an empty string.
*/
QString fileName(const QString& address);

/*!
    True when \a body is a whole, well-formed ".dic" file with at least one
    entry: its count field matches the records, and the records fill the
    body exactly. An HTML error page, an empty or a cut-off body fails.
*/
bool isDictionary(const QByteArray& body);

/*! \a url as the user reads it: a local file as its path, anything else as its address. */
QString addressText(const QUrl& url);

/*! What went wrong with a transfer, in Russian, for a QNetworkReply error code. */
QString networkErrorText(int error);

} // namespace DownloadRules
