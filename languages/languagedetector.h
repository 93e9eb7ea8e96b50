#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

/*!
    Tells which language a dictionary's words are in, for dictionaries that
    do not say so themselves: every word is offered to the Hunspell
    dictionary of each supported language, and the share each accepts
    decides, with the letters that only some languages write (ß, ñ, œ, ...)
    to tell close results apart.

    The Hunspell dictionaries are read from \a hunspellFolder on first use
    (Debian's hunspell-en-us, -fr, -de-de, -it and -es); a language whose
    files are missing is simply not a candidate.
*/
class LanguageDetector
{
public:
    struct Guess
    {
        QString language;             // best candidate, empty when nothing could be judged
        bool sure = false;            // false: ask the learner, with this as the proposal
        QHash<QString, double> shares; // share of words each language accepts
    };

    explicit LanguageDetector(const QString& hunspellFolder = QStringLiteral("/usr/share/hunspell"));
    ~LanguageDetector();
    LanguageDetector(const LanguageDetector&) = delete;
    LanguageDetector& operator=(const LanguageDetector&) = delete;

    /*! Loads the dictionaries now rather than on the first detect(). */
    void load();
    /*! The languages whose Hunspell dictionary was found. */
    QStringList available();

    /*! The language of \a words (a dictionary's foreign words or phrases). */
    Guess detect(const QStringList& words);

    /*! What to do with a dictionary that says nothing of its language. */
    struct Decision
    {
        QString language; // the language to use now
        bool keep = false; // write it beside the dictionary
        bool ask = false;  // ask the learner, with language proposed
    };
    /*! An empty dictionary takes \a defaultLanguage and keeps it; words
        no known language accepts keep the default without a question; a
        sure guess is kept; an unsure one is used and asked about. */
    static Decision decide(const QStringList& words, const Guess& guess, const QString& defaultLanguage);

private:
    struct Speller;
    QString folder;
    bool loaded = false;
    std::vector<std::unique_ptr<Speller>> spellers;
};
