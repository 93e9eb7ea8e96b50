#include "model/units.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

#include "app/settings.h"
#include "model/dictionaryformat.h"

Units* Units::instance(int which)
{
    // Both lists come to life together, the open dictionary first, and each
    // loads its file as it is created.
    static Units* openDictionary = nullptr;
    static Units* learnedWords = nullptr;
    if (!openDictionary) {
        openDictionary = new Units(0);
        learnedWords = new Units(1);
    }
    return which == 1 ? learnedWords : openDictionary;
}

Units::Units(int which)
    : which(which)
{
    load();
}

QString Units::fileName() const
{
    return which == 1 ? learnedWordsName : currentFileName + QStringLiteral(".dic");
}

void Units::load()
{
    entries.clear();
    index.clear();

    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly)) {
        if (which == 1)
            return;
        // An unreadable dictionary leaves the program on the default one,
        // created empty when it does not exist yet.
        currentFileName = dictionariesPath + QStringLiteral("default");
        file.setFileName(currentFileName + QStringLiteral(".dic"));
        if (!file.open(QIODevice::ReadWrite))
            return;
    }
    const QList<Unit> units = DictionaryFormat::readUnits(file.readAll());
    file.close();

    int key = 0;
    for (const Unit& unit : units)
        entries.insert(key++, unit);
    rebuildIndex();
}

void Units::save()
{
    QSaveFile file(fileName());
    if (!file.open(QIODevice::WriteOnly))
        return;
    // QSaveFile only replaces the old file once everything is written, so a
    // failed write leaves the previous dictionary intact.
    if (DictionaryFormat::writeUnits(&file, entries.values()))
        file.commit();
    else
        file.cancelWriting();
}

int Units::count() const
{
    return int(entries.size());
}

QList<int> Units::keys() const
{
    return entries.keys();
}

int Units::lastKey() const
{
    return entries.isEmpty() ? -1 : entries.lastKey();
}

Unit Units::unit(int key) const
{
    return entries.value(key);
}

QString Units::word(int key) const
{
    const auto it = entries.constFind(key);
    return it == entries.cend() ? QString() : it->word;
}

QString Units::translation(int key) const
{
    const auto it = entries.constFind(key);
    return it == entries.cend() ? QString() : it->translation;
}

QList<Unit> Units::unitList() const
{
    return entries.values();
}

int Units::find(const QString& text) const
{
    const auto it = index.constFind(text.trimmed().toLower());
    if (it == index.cend() || it->isEmpty())
        return -1;
    return it->first();
}

void Units::add(const QString& word, const QString& translation)
{
    add(Unit{word.trimmed(), translation.trimmed()});
}

void Units::add(const Unit& unit)
{
    const int key = lastKey() + 1;
    entries.insert(key, unit);
    indexKey(key, unit.word);
    emit added(key);
}

void Units::edit(int key, const QString& word, const QString& translation)
{
    const auto it = entries.constFind(key);
    if (it != entries.cend())
        unindexKey(key, it->word);
    const Unit unit{word.trimmed(), translation.trimmed()};
    entries.insert(key, unit);
    indexKey(key, unit.word);
}

void Units::remove(int key)
{
    const auto it = entries.find(key);
    if (it != entries.end()) {
        unindexKey(key, it->word);
        entries.erase(it);
    }
    emit removed(key);
}

void Units::setUnits(const QList<Unit>& units)
{
    entries.clear();
    int key = 0;
    for (const Unit& unit : units)
        entries.insert(key++, unit);
    rebuildIndex();
}

void Units::indexKey(int key, const QString& word)
{
    QList<int>& keys = index[word.toLower()];
    keys.insert(std::lower_bound(keys.begin(), keys.end(), key), key);
}

void Units::unindexKey(int key, const QString& word)
{
    const auto it = index.find(word.toLower());
    if (it == index.end())
        return;
    it->removeOne(key);
    if (it->isEmpty())
        index.erase(it);
}

void Units::rebuildIndex()
{
    index.clear();
    index.reserve(entries.size());
    // Keys are visited in ascending order, so appending keeps each list sorted.
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        index[it->word.toLower()].append(it.key());
}
