// Feeds arbitrary bytes to the ".dic" reader and writes the result back.

#include <QBuffer>

#include "model/dictionaryformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<Unit> units = DictionaryFormat::readUnits(bytes);
    // Every record takes at least 8 bytes of the file.
    if (size_t(units.size()) > size / 8 + 1)
        __builtin_trap();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DictionaryFormat::writeUnits(&buffer, units);
    if (DictionaryFormat::readUnits(buffer.data()).size() != units.size())
        __builtin_trap();
    return 0;
}
