#include "textsplitter.h"

namespace TextSplitter {

bool isSeparator(QChar c)
{
    // Unicode white space and decimal digits count, like the \s and \d of the
    // pattern users of earlier versions know, not only their ASCII forms.
    if (c.isSpace() || c.isDigit())
        return true;
    switch (c.unicode()) {
    case ',': case '.': case ':': case ';': case '~': case '!': case '@':
    case '#': case '$': case '%': case '^': case '&': case '*': case '(':
    case ')': case '{': case '}': case '\\': case '/': case '[': case ']':
    case '<': case '>': case '|': case '?': case '-': case '_': case '+':
    case '=': case '"':
        return true;
    default:
        return false;
    }
}

QStringList split(const QString& text)
{
    // A scan instead of a regular expression: linear, and it cannot cut a
    // surrogate pair in two, because neither half is ever a separator.
    QStringList words;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && !isSeparator(text.at(i)))
            continue;
        if (i > start)
            words.append(text.mid(start, i - start));
        start = i + 1;
    }
    words.removeDuplicates();
    return words;
}

} // namespace TextSplitter
