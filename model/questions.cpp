#include "model/questions.h"

#include "model/random.h"

int Questions::current() const
{
    return currentKey;
}

int Questions::count() const
{
    return pool.count();
}

QList<int> Questions::list() const
{
    return pool.list();
}

void Questions::clear()
{
    pool.clear();
}

void Questions::next()
{
    if (pool.isEmpty())
        return;
    if (pool.count() == 1) {
        currentKey = pool.at(0);
    } else {
        do {
            currentKey = pool.at(Random::next() % pool.count());
        } while (currentKey == previous);
    }
    previous = currentKey;
}

void Questions::add(int key)
{
    pool.add(key);
}

void Questions::remove(int key)
{
    pool.remove(key);
}
