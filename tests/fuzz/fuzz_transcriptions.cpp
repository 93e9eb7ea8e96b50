// Feeds arbitrary bytes to the ".trn" transcription table reader.

#include "speech/transcriptionformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QMap<QString, QString> table = TranscriptionFormat::readTable(bytes);
    if (size_t(table.size()) > size / 8 + 1)
        __builtin_trap();
    return 0;
}
