#include "model/variants.h"

#include "model/questions.h"
#include "model/random.h"

Variants* Variants::instance()
{
    static Variants* variants = new Variants(Questions::instance());
    return variants;
}

Variants::Variants(Questions* questions)
    : questions(questions)
{
}

int Variants::count() const
{
    return int(pool.size());
}

QList<int> Variants::list() const
{
    return pool;
}

void Variants::clear()
{
    pool.clear();
    members.clear();
}

QList<int> Variants::variants(int n) const
{
    QList<int> result;
    if (n < 1)
        return result;
    const int current = questions->current();
    if (pool.size() < n) {
        // Too few keys for the draw below ever to finish: offer every key
        // there is, the asked one included, in random order.
        result = pool;
        if (!members.contains(current))
            result.append(current);
        for (qsizetype i = result.size() - 1; i > 0; --i)
            result.swapItemsAt(i, Random::next() % (i + 1));
        return result;
    }
    while (result.size() < n) {
        const int key = pool.at(Random::next() % pool.size());
        if (!result.contains(key))
            result.append(key);
    }
    if (!result.contains(current))
        result[Random::next() % n] = current;
    return result;
}

void Variants::add(int key)
{
    if (!members.contains(key)) {
        members.insert(key);
        pool.append(key);
    }
}

void Variants::remove(int key)
{
    if (members.remove(key))
        pool.removeOne(key);
}
