#pragma once

#include <QString>

/*!
    The languages of one dictionary: the foreign language its words are in
    and the learner's own language of its translations (Russian).

    They are kept in a small text file beside the dictionary, "name.lang",
    never inside the ".dic" or ".inf" bytes that older copies read: it goes
    with the dictionary when its folder is copied, and a copy that does not
    know it simply leaves it alone. The file holds "foreign=fr" and
    "native=ru" lines in UTF-8 and is written through QSaveFile.
*/
class DictionaryLanguage
{
public:
    /*! The languages the program can show, speak and detect. */
    static const QStringList& supported();

    static QString sidecarPath(const QString& dicPath);

    /*! The supported language a column of another program's file is named
        for ("en", "English", "Français", "немецкий", "de-DE"...); empty
        when the name says nothing of one. */
    static QString fromName(const QString& name);

    struct Reading
    {
        enum Kind { Whole, Missing, Damaged };
        Kind kind = Missing;
        QString foreign;
        QString native;
        QString problem; // for Damaged: what is wrong
    };

    /*! Reads the languages of \a dicPath. A file that is not a regular file,
        is larger than a few kilobytes or names no known language is Damaged. */
    static Reading read(const QString& dicPath);

    /*! Writes the languages of \a dicPath; an empty string on success,
        otherwise a Russian sentence saying what failed. */
    static QString write(const QString& dicPath, const QString& foreign, const QString& native = QStringLiteral("ru"));
};
