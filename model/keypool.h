#pragma once

#include <QList>
#include <QSet>

/*!
    Keys in the order they joined, each at most once. The set beside the list
    keeps adding thousands of words linear.
*/
class KeyPool
{
public:
    /*! Adds \a key at the end; false when it was there already. */
    bool add(int key)
    {
        if (members.contains(key))
            return false;
        members.insert(key);
        keys.append(key);
        return true;
    }
    bool remove(int key)
    {
        if (!members.remove(key))
            return false;
        keys.removeOne(key);
        return true;
    }
    void clear()
    {
        keys.clear();
        members.clear();
    }
    bool contains(int key) const { return members.contains(key); }
    int count() const { return int(keys.size()); }
    bool isEmpty() const { return keys.isEmpty(); }
    int at(int index) const { return keys.at(index); }
    const QList<int>& list() const { return keys; }

private:
    QList<int> keys;
    QSet<int> members;
};
