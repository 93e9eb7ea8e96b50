#pragma once

#include <QMap>
#include <QString>

class Settings;
class Units;

/*!
    The transcription table of the learning language, read from
    "Transcriptions/<transcriptionFileName>.trn" (a setting) beside the program. It maps a
    word in lower case to its transcription, which every place showing a
    foreign word appends after it in square brackets.

    One table exists for the whole run, loaded as it is built (after the
    settings are read); load() refills it when the learning language changes. Switching transcriptions off only hides them
    in formatted(); the table stays as loaded.
*/
class Transcriptions
{
public:
    Transcriptions(const Units* units, const Settings* settings);

    /*! Empties the table and reads the file named by transcriptionFileName.
        A missing, unreadable or damaged file leaves the table empty. */
    void load();

    /*! "[" + transcription + "]" for \a word (trimmed, case ignored); empty
        when the table has no entry or only an empty one. The text is plain:
        rich-text callers use formatted() or escape it themselves. A word
        written with its article ("der Hund", "l'eau") is found bare. */
    QString lookup(const QString& word) const;

    /*! lookup() of the open dictionary's word \a key, shown or not; an
        English word read differently by sense gets the reading of its
        translation (Heteronyms). */
    QString lookupUnit(int key) const;

    /*! Rich text to append after the word \a key: the bracketed
        transcription, HTML-escaped, bold and green; empty when transcriptions
        are switched off or the word has none. The word itself is the
        caller's text and the caller escapes it. */
    QString formatted(int key) const;

private:
    const Units* units;
    const Settings* settings;
    QMap<QString, QString> table;
    bool english = false;
};
