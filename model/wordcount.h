#pragma once

#include <QString>

/*! "1 слово", "3 слова", "5 слов": a count of words in the Russian form
    its number asks for (11–14 take the form of 5). */
namespace WordCount {

QString text(qint64 count);

} // namespace WordCount
