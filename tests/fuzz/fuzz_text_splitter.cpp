// Feeds arbitrary UTF-8 text to the splitter of words from a pasted text.

#include "editing/textsplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList words = TextSplitter::split(text);
    qsizetype characters = 0;
    for (const QString& word : words) {
        if (word.isEmpty())
            __builtin_trap();
        characters += word.size();
    }
    if (characters > text.size())
        __builtin_trap();
    return 0;
}
