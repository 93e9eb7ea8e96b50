#include "model/wordcount.h"

#include <QCoreApplication>

namespace WordCount {

QString text(qint64 count)
{
    const qint64 last = qAbs(count) % 10;
    const qint64 lastTwo = qAbs(count) % 100;
    const char* noun = "слов";
    if (lastTwo < 11 || lastTwo > 14) {
        if (last == 1)
            noun = "слово";
        else if (last >= 2 && last <= 4)
            noun = "слова";
    }
    return QString::number(count) + QLatin1Char(' ') + QCoreApplication::translate("WordCount", noun);
}

} // namespace WordCount
