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

/*! The text a field of HTML shows: tags and sound references removed,
    character references decoded, white space collapsed. */
QString htmlToText(const QString& html);

} // namespace AnkiNotes
