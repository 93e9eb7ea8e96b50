#include "model/statuses.h"


#include <algorithm>

#include "config/settings.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/units.h"

Statuses::Statuses(const Units* units, const Settings* settings, QObject* parent)
    : QObject(parent)
    , units(units)
    , settings(settings)
    , histogram(Learned + 1, 0)
{
}

void Statuses::store(int key, int value)
{
    const bool existed = values.contains(key);
    int& slot = values(key, Unlearned);
    if (existed && slot >= 0 && slot <= Learned)
        --histogram[slot];
    slot = value;
    if (value >= 0 && value <= Learned)
        ++histogram[value];
}

void Statuses::clearValues()
{
    values.clear();
    histogram.fill(0);
}

QList<int> Statuses::valuesFromFile(const QList<int>& fileValues)
{
    QList<int> result = fileValues;
    if (!result.isEmpty() && result.first() == StatusFileMarker) {
        result.removeFirst();
        return result;
    }
    for (int& value : result)
        value = value == EarlierFormatLearned ? int(Learned) : int(Unlearned);
    return result;
}

void Statuses::load()
{
    clearValues();

    const QList<int> fileValues =
        valuesFromFile(DictionaryFiles::readStatusValues(units->fileName()));

    // Values are paired with entries by position. A file longer than the
    // dictionary would leave statuses (and pool entries) for words that do
    // not exist; a shorter one leaves later words at 0.
    const QList<int> keys = units->keys();
    const int paired = qMin(int(keys.size()), int(fileValues.size()));
    values.reserve(keys.size());
    for (int i = 0; i < paired; ++i)
        setStatus(keys.at(i), fileValues.at(i));
    for (int i = paired; i < keys.size(); ++i)
        store(keys.at(i), Unlearned);
}

QList<int> Statuses::fileValues() const
{
    // One value per entry of the dictionary, in key order, whatever the map
    // collected on the way: the file is read back by position.
    const QList<int> keys = units->keys();
    QList<int> list;
    list.reserve(keys.size() + 1);
    list.append(StatusFileMarker);
    for (int key : keys)
        list.append(values.value(key, int(Unlearned)));
    return list;
}

int Statuses::status(int key) const
{
    return values.value(key, int(Unlearned));
}

void Statuses::setStatus(int key, int status)
{
    store(key, status);
    if (status == Initial)
        emit initial(key);
    else if (status == Learned)
        emit learned(key);
    else if (status == Unlearned)
        emit unlearned(key);
}

void Statuses::setStatuses(const QList<int>& keys, int status)
{
    for (int key : keys)
        setStatus(key, status);
}

void Statuses::resetAll()
{
    const QList<int> keys = values.keys();
    setStatuses(keys, Unlearned);
}

void Statuses::increment(int key)
{
    store(key, status(key) + 1);
    if (isLearned(key))
        setStatus(key, Learned);
}

void Statuses::decrement(int key)
{
    // The floor of 1 keeps a word in the learning range however many
    // mistakes it collects.
    const int value = status(key);
    if (value > 1)
        store(key, value - 1);
    emit decremented();
}

bool Statuses::isLearned(int key) const
{
    const int* value = values.find(key);
    return value && *value - 4 > settings->modelLength();
}

bool Statuses::isLearning(int key) const
{
    const int value = status(key);
    return value > 0 && value < Learned;
}

bool Statuses::isUnlearned(int key) const
{
    return status(key) == Unlearned;
}

int Statuses::countOf(int status) const
{
    if (status >= 0 && status <= Learned)
        return histogram.at(status);
    return int(std::count(values.values().cbegin(), values.values().cend(), status));
}

void Statuses::setList(const QList<int>& statuses)
{
    clearValues();
    values.reserve(statuses.size());
    int key = 0;
    for (int value : statuses)
        store(key++, value);
}

void Statuses::add(int key)
{
    store(key, Unlearned);
}

void Statuses::remove(int key)
{
    const int* value = values.find(key);
    if (!value)
        return;
    if (*value >= 0 && *value <= Learned)
        --histogram[*value];
    values.remove(key);
}
