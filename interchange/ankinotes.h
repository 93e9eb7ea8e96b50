#pragma once

#include <QString>

#include "interchange/wordtable.h"

/*!
    Anki's "Notes in Plain Text" export: tab-separated fields (quoted like a
    spreadsheet's when they hold a tab or a line break), optionally preceded
    by header lines such as "#separator:tab", "#html:true", "#columns:...",
    and "#tags column:3" for columns that hold no note field.
*/
namespace AnkiNotes {

/*! True when \a text starts with Anki's header lines. */
bool hasHeader(const QString& text);

/*! The note fields of \a text as a table: header lines honoured, columns
    of note ids, note types, decks and tags left out, HTML reduced to its
    text when "#html:true" says fields hold HTML (or \a html is true and no
    header says otherwise). */
bool read(const QString& text, WordTable* table, QString* error, bool html = false);

/*! True when \a text, without header lines, reads like an Anki export of
    older versions: fields of HTML. */
bool looksLikeOldExport(const QString& text);

/*! The text a field of HTML shows: inline tags removed ("ph<b>o</b>to" is
    one word), line breaks and blocks separating words, ruby readings and
    sound references dropped, Cloze deletions replaced by their text,
    character references decoded, white space collapsed. */
QString htmlToText(const QString& html);

/*! The media name of the first "[sound:…]" of \a field, or empty. */
QString soundName(const QString& field);

} // namespace AnkiNotes
