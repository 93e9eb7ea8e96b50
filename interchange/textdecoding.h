#pragma once

#include <QByteArray>
#include <QString>

/*!
    Turns the bytes of a word-list file into text. Files come from
    spreadsheets and older trainers on any system: a byte-order mark names
    UTF-8 or UTF-16; without one the bytes are UTF-8 when they are valid
    UTF-8, and windows-1251 (the Russian Windows code page) otherwise.
*/
namespace TextDecoding {

QString decode(const QByteArray& bytes);

} // namespace TextDecoding
