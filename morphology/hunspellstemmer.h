#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

/*!
    The base forms Hunspell of one language gives a word ("chevaux" →
    "cheval", "Häuser" → "Haus", "gatti" → "gatto"), read from the system's
    Hunspell folder under the names Debian gives the pairs. English has
    BaseForms, which knows its irregular forms; the other languages have
    only this. A language without an installed pair gives no stems.
*/
class HunspellStemmer
{
public:
    /*! The pair of \a language ("fr", "de", "it", "es", "en") in \a folder. */
    explicit HunspellStemmer(const QString& language,
                             const QString& folder = QStringLiteral("/usr/share/hunspell"));
    ~HunspellStemmer();
    HunspellStemmer(const HunspellStemmer&) = delete;
    HunspellStemmer& operator=(const HunspellStemmer&) = delete;

    bool isValid() const { return hunspell != nullptr; }

    /*! The stems of \a word other than the word itself, in Hunspell's order;
        empty when the word is a base form or unknown. */
    QStringList stems(const QString& word) const;

    /*! The first stem of \a word; \a word itself when it is a base form
        of its own or unknown. */
    QString baseForm(const QString& word) const;

    /*! The Debian file name of \a language's pair ("fr_FR"); empty when
        none is known. */
    static QString pairName(const QString& language);

private:
    QStringList allStems(const QString& word) const;

    std::unique_ptr<Hunspell> hunspell;
};
