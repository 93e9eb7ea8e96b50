// Feeds arbitrary bytes to the dictionary site's list page decoder and parser.

#include "editing/dictionarylistparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString page = DictionaryListParser::decodePage(bytes);
    const QList<DictionaryListParser::Entry> entries =
        DictionaryListParser::parse(page, QStringLiteral("http://127.0.0.1/"));
    // Every row comes from a quoted string of the page.
    if (size_t(entries.size()) > size / 2 + 1)
        __builtin_trap();
    return 0;
}
