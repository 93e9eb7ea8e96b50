#pragma once

#include <QString>
#include <QStringList>

/*
    Cuts a typed or pasted text into the words to import. Pure functions on
    strings: no widget, no dictionary, no global state, defined for any input.
*/
namespace TextSplitter {

/* True for the characters that end a word: white space, digits and the
    punctuation , . : ; ~ ! @ # $ % ^ & * ( ) { } \ / [ ] < > | ? - _ + = ".
    The apostrophe and every other character belong to words. */
bool isSeparator(QChar c);

/* The words of \a text in text order, without empty strings and with every
    repetition after the first dropped (exact, case-sensitive comparison). */
QStringList split(const QString& text);

} // namespace TextSplitter
