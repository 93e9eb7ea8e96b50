#include "model/statuses.h"

#include <QFile>
#include <QSaveFile>

#include "app/settings.h"
#include "model/dictionaryformat.h"
#include "model/units.h"

Statuses* Statuses::instance()
{
    static Statuses* statuses = nullptr;
    if (!statuses) {
        statuses = new Statuses;
        statuses->load();
    }
    return statuses;
}

Statuses::Statuses() = default;

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
    values.clear();

    QList<int> fileValues;
    QFile file(currentFileName + QStringLiteral(".inf"));
    if (file.open(QIODevice::ReadOnly)) {
        fileValues = valuesFromFile(DictionaryFormat::readIntList(file.readAll()));
        file.close();
    }

    // Values are paired with entries by position. A file longer than the
    // dictionary would leave statuses (and pool entries) for words that do
    // not exist; a shorter one leaves later words at 0.
    const QList<int> keys = Units::instance(0)->keys();
    const int paired = qMin(int(keys.size()), int(fileValues.size()));
    for (int i = 0; i < paired; ++i) {
        values.insert(keys.at(i), fileValues.at(i));
        setStatus(keys.at(i), fileValues.at(i));
    }
    for (int i = paired; i < keys.size(); ++i)
        values.insert(keys.at(i), Unlearned);
}

void Statuses::save()
{
    // One value per entry of the dictionary, in key order, whatever the map
    // collected on the way: the file is read back by position.
    const QList<int> keys = Units::instance(0)->keys();
    QList<int> list;
    list.reserve(keys.size() + 1);
    list.append(StatusFileMarker);
    for (int key : keys)
        list.append(values.value(key, Unlearned));

    QSaveFile file(currentFileName + QStringLiteral(".inf"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (DictionaryFormat::writeIntList(&file, list))
        file.commit();
    else
        file.cancelWriting();
}

int Statuses::status(int key) const
{
    return values.value(key, Unlearned);
}

void Statuses::setStatus(int key, int status)
{
    values.insert(key, status);
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
    setStatuses(values.keys(), Unlearned);
}

void Statuses::increment(int key)
{
    values[key] += 1;
    if (isLearned(key))
        setStatus(key, Learned);
}

void Statuses::decrement(int key)
{
    // The floor of 1 keeps a word in the learning range however many
    // mistakes it collects.
    const auto it = values.find(key);
    if (it != values.end() && *it > 1)
        *it -= 1;
    emit decremented();
}

bool Statuses::isLearned(int key) const
{
    const auto it = values.constFind(key);
    return it != values.cend() && *it - 4 > modelLength();
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
    int n = 0;
    for (int value : values)
        n += value == status;
    return n;
}

void Statuses::setList(const QList<int>& statuses)
{
    values.clear();
    int key = 0;
    for (int value : statuses)
        values.insert(key++, value);
}

void Statuses::add(int key)
{
    values.insert(key, Unlearned);
}

void Statuses::remove(int key)
{
    values.remove(key);
}
