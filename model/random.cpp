#include "model/random.h"

#include <QRandomGenerator>

namespace {

QRandomGenerator& generator()
{
    static QRandomGenerator instance(1);
    return instance;
}

} // namespace

namespace Random {

void seed(quint32 value)
{
    generator().seed(value);
}

int next()
{
    return int(generator().generate() & 0x7FFFFFFFu);
}

} // namespace Random
