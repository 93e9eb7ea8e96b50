#pragma once

#include <QList>
#include <QObject>

#include "model/keyedlist.h"

class Settings;
class Units;

/*!
    The learning status of every word of the open dictionary, stored by
    position in the ".inf" file beside the dictionary:
    0 not learned, 5 chosen, 1..4 and 6..99 being learned, 100 learned.
*/
class Statuses : public QObject
{
    Q_OBJECT

public:
    enum Status { Unlearned = 0, Initial = 5, Learned = 100 };
    static constexpr int StatusFileMarker = 999;
    static constexpr int EarlierFormatLearned = 11;

    Statuses(const Units* units, const Settings* settings, QObject* parent = nullptr);

    void load();
    /*! The statuses file's values: the marker, then one value per entry of
        the open dictionary in key order (0 for a word without a value). */
    QList<int> fileValues() const;

    int status(int key) const;
    void setStatus(int key, int status);
    void setStatuses(const QList<int>& keys, int status);
    void resetAll();
    void increment(int key);
    void decrement(int key);
    bool isLearned(int key) const;
    bool isLearning(int key) const;
    bool isUnlearned(int key) const;
    int countOf(int status) const;
    void setList(const QList<int>& statuses);

    /*! Values of the file for the given dictionary keys: converts the earlier
        format, aligns the values to the keys by position (0 for a key past
        the end of the file). */
    static QList<int> valuesFromFile(const QList<int>& fileValues);

signals:
    void decremented();
    void unlearned(int key);
    void initial(int key);
    void learned(int key);

public slots:
    void add(int key);
    void remove(int key);

private:

    void store(int key, int value);
    void clearValues();

    const Units* units;
    const Settings* settings;
    KeyedList<int> values;
    // How many keys hold each status 0..100, so the status bar can ask for
    // the learned count after every change without a scan.
    QList<int> histogram;
};
