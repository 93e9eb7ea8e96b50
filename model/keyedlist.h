#pragma once

#include <QList>

#include <algorithm>

/*!
    An ordered map from int keys to values, kept as two parallel sorted
    arrays. Dictionary keys are 0..n-1 after a load and new keys are always
    the greatest, so nearly every insertion is an append: loading, iterating
    and saving a large dictionary cost a fraction of what a node-based map
    costs, while lookups stay logarithmic.
*/
template <typename T>
class KeyedList
{
public:
    int size() const { return int(keyList.size()); }
    bool isEmpty() const { return keyList.isEmpty(); }
    void clear()
    {
        keyList.clear();
        valueList.clear();
    }
    void reserve(qsizetype n)
    {
        keyList.reserve(n);
        valueList.reserve(n);
    }

    const QList<int>& keys() const { return keyList; }
    const QList<T>& values() const { return valueList; }
    int lastKey() const { return keyList.last(); }

    bool contains(int key) const { return indexOf(key) >= 0; }

    /*! Position of \a key, or -1. */
    qsizetype indexOf(int key) const
    {
        if (!keyList.isEmpty() && keyList.last() < key)
            return -1;
        const auto it = std::lower_bound(keyList.cbegin(), keyList.cend(), key);
        return it != keyList.cend() && *it == key ? it - keyList.cbegin() : -1;
    }

    const T* find(int key) const
    {
        const qsizetype i = indexOf(key);
        return i < 0 ? nullptr : &valueList.at(i);
    }

    T value(int key, const T& fallback = T()) const
    {
        const T* found = find(key);
        return found ? *found : fallback;
    }

    /*! The value stored under \a key, inserted as \a initial when absent. */
    T& operator()(int key, const T& initial = T())
    {
        auto it = std::lower_bound(keyList.begin(), keyList.end(), key);
        const qsizetype i = it - keyList.begin();
        if (it == keyList.end() || *it != key) {
            keyList.insert(i, key);
            valueList.insert(i, initial);
        }
        return valueList[i];
    }

    void insert(int key, const T& value) { (*this)(key) = value; }

    /*! Appends a key known to be greater than every stored key. */
    void append(int key, const T& value)
    {
        keyList.append(key);
        valueList.append(value);
    }

    bool remove(int key)
    {
        const qsizetype i = indexOf(key);
        if (i < 0)
            return false;
        keyList.remove(i);
        valueList.remove(i);
        return true;
    }

private:
    QList<int> keyList;
    QList<T> valueList;
};
