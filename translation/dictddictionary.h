#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DictzipFile;

/*!
    One dictionary in the format of the dictd server: an ".index" file of
    lines "headword TAB offset TAB length" (numbers in dictd's base 64) and
    an article file beside it (".dict.dz", ".dict.gz" or ".dict"), read
    directly, without a server.

    Headwords are found case-insensitively after trimming; when the exact
    form is missing, the form without punctuation is tried too, which is how
    indexes built without dictfmt's --allchars store their headwords.
    Damaged index lines are skipped; an article outside the file is empty.
*/
class DictdDictionary
{
public:
    /*! The dictionary of \a indexFile; the article file is found beside it. */
    explicit DictdDictionary(const QString& indexFile);
    ~DictdDictionary();

    /*! False when the index or the article file cannot be read. */
    bool isValid() const;
    /*! The index file's base name, e.g. "mueller7". */
    QString name() const { return baseName; }
    /*! Number of headwords read from the index. */
    int size() const;

    /*! The articles of \a word, in index order; empty when it is missing. */
    QStringList articles(const QString& word);

    /*! Calls \a visit with every headword and one of its articles, reading
        the article file once from start to end. */
    void forEachArticle(const std::function<void(const QString& headword, const QString& article)>& visit);

    /*! The article file beside \a indexFile, or an empty string. */
    static QString articleFile(const QString& indexFile);
    /*! \a word lower-cased, trimmed and with inner white space collapsed. */
    static QString key(const QString& word);
    /*! key() without the characters that are neither letters, digits nor spaces. */
    static QString strippedKey(const QString& word);
    /*! A number in dictd's base 64; -1 when \a digits is not one. */
    static qint64 decodeNumber(QByteArrayView digits);

private:
    struct Location
    {
        qint64 offset;
        qint64 length;
    };

    void load();
    QList<Location> find(const QString& word);

    QString indexFile;
    QString baseName;
    bool loaded = false;
    std::unique_ptr<DictzipFile> data;
    QHash<QString, QList<Location>> index;
};
