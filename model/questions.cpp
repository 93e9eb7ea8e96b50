#include "model/questions.h"

#include "model/random.h"

Questions* Questions::instance()
{
    static Questions* questions = new Questions;
    return questions;
}

int Questions::current() const
{
    return currentKey;
}

int Questions::count() const
{
    return int(pool.size());
}

QList<int> Questions::list() const
{
    return pool;
}

void Questions::clear()
{
    pool.clear();
    members.clear();
}

void Questions::next()
{
    if (pool.isEmpty())
        return;
    if (pool.size() == 1) {
        currentKey = pool.first();
    } else {
        do {
            currentKey = pool.at(Random::next() % pool.size());
        } while (currentKey == previous);
    }
    previous = currentKey;
}

void Questions::add(int key)
{
    if (!members.contains(key)) {
        members.insert(key);
        pool.append(key);
    }
}

void Questions::remove(int key)
{
    if (members.remove(key))
        pool.removeOne(key);
}
