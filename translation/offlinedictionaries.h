#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class DictdDictionary;
class HunspellStemmer;

/*!
    The installed dictd dictionaries, opened once for the program run (one
    object, built at start-up) and shared by every translator.

    A dictionary's language pair comes from its file name: FreeDict's
    "freedict-deu-rus", any name ending in "-FROM-TO" with two- or
    three-letter codes ("my-en-ru", "slang-eng-rus"), and Mueller's
    English-Russian "mueller7". Folders are searched in the order given; in a
    folder, the larger dictionary comes first.

    Of the articles of a headword, the one written in the word's own case
    comes first ("gut" the adjective, not "Gut" the estate), proper names
    last ("Vogel" the bird, not the surname), and among the rest the
    everyday sense (see lookUp()). A word no dictionary has as a headword is
    looked up by its base forms from Hunspell of its language ("chevaux"
    under "cheval").

    A language without a dictionary into the wanted one but with one into
    English (Spanish), or a word its direct dictionaries lack, goes through
    English: its first English words are looked up in the English
    dictionaries, and the answer says so.

    A pair without a dictionary of its own (Russian into English) is served
    from the dictionaries of the opposite pair through an inverted index of
    their short translations, built on first use.
*/
class OfflineDictionaries
{
public:
    struct Answer
    {
        QString translation;
        /*! Every article found, for the learner to pick another sense. */
        QString article;
        /*! False when no dictionary serves the pair, in either direction. */
        bool havePair = false;
        /*! The English words a translation through English went by; empty
            for a direct one. */
        QStringList via;
    };


    /*! Looks \a word up for a translation from \a from into \a to (codes
        of the language table: "en", "ru") in the dictionaries of \a folders. */
    Answer translate(const QString& word, const QString& from, const QString& to,
                     const QStringList& folders);

    /*! The names of the dictionaries serving \a from → \a to, directly or
        through the inverted index (those are marked with "↔"). */
    QStringList dictionaryNames(const QString& from, const QString& to, const QStringList& folders);

    /*! Forgets the opened dictionaries and the folder contents, so that
        newly installed files are found. */
    void reload();

    /*! Where the Hunspell pairs for base forms are read; the system's
        folder unless told. */
    void setHunspellFolder(const QString& folder);

    /*! The three-letter code of a code of the language table ("en" gives
        "eng"); an empty string for a code it does not know. */
    static QString threeLetterCode(const QString& code);
    /*! The pair of a dictionary named \a baseName as three-letter codes;
        false when the name tells no pair. */
    static bool pairOf(const QString& baseName, QString* from, QString* to);

private:
    struct Candidate
    {
        QString headword;
        int position;
        int count;
        int articleLength;
    };
    using ReverseIndex = QHash<QString, QList<Candidate>>;

    QList<DictdDictionary*> dictionaries(const QString& from, const QString& to,
                                         const QStringList& folders);
    const ReverseIndex& reverseIndex(const QString& from, const QString& to,
                                     const QStringList& folders);
    static QString lookUp(DictdDictionary* dictionary, const QString& word, QString* article,
                          bool intoLatin);
    QString lookUpAll(const QList<DictdDictionary*>& found, const QString& word, const QString& from,
                      QString* article, bool intoLatin);
    Answer throughEnglish(const QString& word, const QString& from, const QString& to,
                          const QStringList& folders);
    HunspellStemmer* stemmer(const QString& language);

    // Index file → its dictionary, and folder → its index files.
    QHash<QString, std::shared_ptr<DictdDictionary>> opened;
    QHash<QString, QStringList> folderContents;
    // Index file → its pair, "deu-rus".
    QHash<QString, QString> pairs;
    // "eng-rus" → inverted index of the eng-rus dictionaries, keyed by
    // Russian word.
    QHash<QString, ReverseIndex> reverse;
    QString hunspellFolder = QStringLiteral("/usr/share/hunspell");
    // Language → its Hunspell pair, loaded on the first word missing as a
    // headword.
    QHash<QString, std::shared_ptr<HunspellStemmer>> stemmers;
};
