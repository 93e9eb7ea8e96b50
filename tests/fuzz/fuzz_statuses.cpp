// Feeds arbitrary bytes to the statuses-file reader.

#include "model/dictionaryformat.h"
#include "model/statuses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<int> values = Statuses::valuesFromFile(DictionaryFormat::readIntList(bytes));
    if (size_t(values.size()) > size / 4)
        __builtin_trap();
    return 0;
}
