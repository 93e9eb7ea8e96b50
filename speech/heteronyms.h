#pragma once

#include <QString>

/*!
    English words written alike and read differently by sense ("to live"
    [lˈɪv], "live" the adjective [lˈaɪv]): the reading that fits the Russian
    translation of the entry. The transcription table has one reading per
    spelling, usually the noun's, which contradicts a translation such as
    "жить" or "закрывать". The sense is told from the first Russian word of
    the translation: a verb by its infinitive ending, a few senses by their
    word ("лук" is the weapon, "поклон" the bend).
*/
namespace Heteronyms {

/*! The transcription of \a word (any case) for \a translation, without
    brackets; empty when \a word has one reading only or the translation
    gives no sense. */
QString transcription(const QString& word, const QString& translation);

} // namespace Heteronyms
