#pragma once

#include <QString>

/*! One dictionary entry: a foreign word and its translation. */
struct Unit
{
    QString word;
    QString translation;
};

inline bool operator==(const Unit& a, const Unit& b)
{
    return a.word == b.word && a.translation == b.translation
        && a.word.isNull() == b.word.isNull()
        && a.translation.isNull() == b.translation.isNull();
}
