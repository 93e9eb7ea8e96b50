#include "model/variants.h"

#include "model/questions.h"
#include "model/random.h"

Variants::Variants(const Questions* questions)
    : questions(questions)
{
}

int Variants::count() const
{
    return pool.count();
}

QList<int> Variants::list() const
{
    return pool.list();
}

void Variants::clear()
{
    pool.clear();
}

QList<int> Variants::variants(int n) const
{
    QList<int> result;
    if (n < 1)
        return result;
    const int current = questions->current();
    if (pool.count() < n) {
        // Too few keys for the draw below ever to finish: offer every key
        // there is, the asked one included, in random order.
        result = pool.list();
        if (!pool.contains(current))
            result.append(current);
        for (qsizetype i = result.size() - 1; i > 0; --i)
            result.swapItemsAt(i, Random::next() % (i + 1));
        return result;
    }
    while (result.size() < n) {
        const int key = pool.at(Random::next() % pool.count());
        if (!result.contains(key))
            result.append(key);
    }
    if (!result.contains(current))
        result[Random::next() % n] = current;
    return result;
}

void Variants::add(int key)
{
    pool.add(key);
}

void Variants::remove(int key)
{
    pool.remove(key);
}
