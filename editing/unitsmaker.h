#pragma once

#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>

class Hunspell;
class Units;

/*
    The word list of a text import on its way into the dictionary: drops the
    words the open dictionary or the learned-words list already has and
    reduces words to their base form with a Hunspell morphological
    dictionary. No widgets: the import dialog drives it.
*/
class UnitsMaker
{
public:
    /* Loads the morphology from the affix and dictionary files given,
        relative to the working folder; missing files leave it without one. */
    explicit UnitsMaker(const QString& affixFile = QStringLiteral("Morphologic/default.aff"),
                        const QString& dictionaryFile = QStringLiteral("Morphologic/default.dic"));
    ~UnitsMaker();
    UnitsMaker(const UnitsMaker&) = delete;
    UnitsMaker& operator=(const UnitsMaker&) = delete;

    QStringList words() const;
    void setWords(const QStringList& words);
    void clear();

    /* Drops every word the open dictionary holds (case ignored, trimmed). */
    void excludeKnown();
    /* Drops every word of the learned-words list (case ignored, trimmed). */
    void excludeLearned();
    /* Replaces every word by its base form, then drops repetitions. */
    void stem();

    bool hasMorphology() const;
    /* The base form of \a word, or \a word itself when the morphology has
        none or the word cannot be written in the morphology's encoding. */
    QString stemOf(const QString& word);

private:
    void exclude(const Units* list);

    Units* dictionary;
    Units* learnedList;
    QStringList wordList;
    std::unique_ptr<Hunspell> morphology;
    // Hunspell works on bytes in the encoding its affix file declares; words
    // cross over through these, or not at all when the encoding is unknown.
    QStringEncoder encoder;
    QStringDecoder decoder;
    // Set when Qt knows no converter for the declared encoding: only words
    // in plain ASCII, which every Hunspell encoding shares, are passed then.
    bool asciiOnly = false;
};
