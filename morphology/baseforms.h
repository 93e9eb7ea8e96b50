#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>

class Hunspell;

/*!
    The base form under which a word of a text goes into the dictionary:
    "things" → "thing", "went" → "go", "children" → "child".

    Irregular forms come from exception lists ("form base" per line: the
    program's own list first, then WordNet's verb, noun, adjective and
    adverb lists). Other words are asked of a Hunspell morphological
    dictionary, but its analyses are not taken blindly: a word that is a
    dictionary word in its own right stays as it is ("news", "morning"), and
    an English stem is taken only when the word is that stem with an
    inflectional ending ("books", "carried", "bigger"), never when the two
    merely begin alike ("things" is not "the" + "ings"). When Hunspell offers
    nothing better, the regular endings are taken off and the result is
    kept if the dictionary knows it.
*/
class BaseForms
{
public:
    /*! Loads the Hunspell pair and the exception lists of \a exceptionFolder;
        a WordNet list missing there is read from the system's WordNet
        folder. Missing files only mean fewer base forms. */
    explicit BaseForms(const QString& affixFile = QStringLiteral("Morphologic/default.aff"),
                       const QString& dictionaryFile = QStringLiteral("Morphologic/default.dic"),
                       const QString& exceptionFolder = QStringLiteral("Morphologic"));
    ~BaseForms();
    BaseForms(const BaseForms&) = delete;
    BaseForms& operator=(const BaseForms&) = delete;

    bool hasMorphology() const;
    int exceptionCount() const;

    /*! The base form of \a word; \a word itself when none is known. */
    QString baseForm(const QString& word);

    /*! True when \a word is a name to keep capitalised when the rest is
        lower-cased: inside a sentence, a capitalised word that Hunspell
        lists with its capital ("Smith", "Paris", "January") or does not
        know at all ("Pennarun"); at the start of a sentence (\a sentenceStart),
        only one whose lower-case form is no word ("Paris", not "House").
        A word in capitals throughout ("TITLE") is no name. */
    bool isName(const QString& word, bool sentenceStart = false);

    /*! The program's exception list, laid out beside WordNet's. */
    static QString ownExceptionFile() { return QStringLiteral("common.exc"); }

private:
    enum class Ending { None, Plural, Verbal, Comparative };
    static Ending inflection(const QString& word, const QString& stem);
    void loadWordClasses();
    bool fitsWordClass(const QString& stem, Ending kind) const;
    void loadExceptions(const QString& path, bool ownList);
    QStringList stems(const QString& word);
    bool isRoot(const QString& word);
    bool isLemma(const QString& lower) const;
    QString strippedForm(const QString& lower);

    QString exceptionFolder;
    std::unique_ptr<Hunspell> morphology;
    QHash<QString, QString> exceptions;
    // WordNet's nouns, verbs and adjectives, read on first use: an ending is
    // taken off only when what is left is a word of the class it inflects.
    bool classesLoaded = false;
    bool hasClasses = false;
    QSet<QString> nouns;
    QSet<QString> verbs;
    QSet<QString> adjectives;
    // Hunspell works on bytes in the encoding its affix file declares; words
    // cross over through these, or not at all when the encoding is unknown.
    QStringEncoder encoder;
    QStringDecoder decoder;
    // Set when Qt knows no converter for the declared encoding: only words
    // in plain ASCII, which every Hunspell encoding shares, are passed then.
    bool asciiOnly = false;
};
