#pragma once

#include <QList>
#include <QObject>
#include <QSet>

/*! The question pool: the words being learned in this run and the one asked now. */
class Questions : public QObject
{
    Q_OBJECT

public:
    static Questions* instance();

    int current() const;
    int count() const;
    QList<int> list() const;
    void clear();
    /*! Draws the next word; never the previous one while two or more remain. */
    void next();

public slots:
    void add(int key);
    void remove(int key);

private:
    Questions() = default;

    int currentKey = 0;
    int previous = -1;
    QList<int> pool;
    QSet<int> members; // the pool's keys, so adding thousands of words stays linear
};
