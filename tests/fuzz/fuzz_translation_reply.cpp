// Feeds arbitrary bytes to the translation service's reply parser.

#include "translation/v2engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString translation = V2Engine::parseReply(bytes);
    if (size_t(translation.size()) > size)
        __builtin_trap();
    return 0;
}
