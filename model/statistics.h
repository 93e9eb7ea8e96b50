#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTime>

/*! Counters and clock of one learning run. */
class Statistics : public QObject
{
    Q_OBJECT

public:
    explicit Statistics(QObject* parent = nullptr);

    int learnedCount() const;
    int mistakesCount() const;
    /*! Time since start(), as a time of day (wraps at 24 hours). */
    QTime learningTime() const;
    void start();
    void reset();

    /*! \a total plus the whole seconds of \a run, wrapping at 24 hours;
        a null total counts as midnight. */
    static QTime addedTime(const QTime& total, const QTime& run);

    /*! Test hook: pretends the clock started \a msecs ago. */
    void setElapsedForTesting(qint64 msecs);

public slots:
    void incrementLearned();
    void incrementMistakes();

private:
    int learned = 0;
    int mistakes = 0;
    QElapsedTimer clock;
    qint64 elapsedOffset = 0;
};
