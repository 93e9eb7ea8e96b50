#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "morphology/baseforms.h"
#include "morphology/hunspellstemmer.h"

class Units;

/*
    The word list of a text import on its way into the dictionary: drops the
    words the open dictionary or the learned-words list already has and
    reduces words to their base form: English through BaseForms, another
    language through its own Hunspell pair (HunspellStemmer). No widgets: the import
    dialog drives it.
*/
class UnitsMaker
{
public:
    /* Loads the morphology from the affix and dictionary files and the
        exception lists of the folder given, relative to the working folder;
        missing files leave it without them. */
    /*! Words new to \a dictionary (and, when asked, to \a learnedList). */
    explicit UnitsMaker(const Units* dictionary, const Units* learnedList,
                        const QString& affixFile = QStringLiteral("Morphologic/default.aff"),
                        const QString& dictionaryFile = QStringLiteral("Morphologic/default.dic"),
                        const QString& exceptionFolder = QStringLiteral("Morphologic"));
    UnitsMaker(const UnitsMaker&) = delete;
    UnitsMaker& operator=(const UnitsMaker&) = delete;

    /* The language of the words ("en", "fr"…); English until told. */
    void setLanguage(const QString& language);

    QStringList words() const;
    void setWords(const QStringList& words);
    void clear();

    /* Drops every word the open dictionary holds (case ignored, trimmed):
        compared with the entries' words, or, for a text in the user's own
        language (\a reverse), with their translations. */
    void excludeKnown(bool reverse = false);
    /* The same against the learned-words list. */
    void excludeLearned(bool reverse = false);
    /* Replaces every word by its base form, then drops repetitions (case ignored). */
    void stem();

    bool hasMorphology() const;
    /* The base form of \a word, or \a word itself when none is known. */
    QString stemOf(const QString& word);
    /* Whether \a word is a name that keeps its capital when words are lower-cased. */
    bool isName(const QString& word, bool sentenceStart);

private:
    void exclude(const Units* list, bool reverse);

    const Units* dictionary;
    const Units* learnedList;
    QStringList wordList;
    BaseForms baseForms;
    QString language = QStringLiteral("en");
    // The pair of a language other than English, loaded when first needed.
    std::unique_ptr<HunspellStemmer> stemmer;
};
