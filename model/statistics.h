#pragma once

#include <QElapsedTimer>
#include <QObject>

/*! Counters and clock of one learning run. */
class Statistics : public QObject
{
    Q_OBJECT

public:
    explicit Statistics(QObject* parent = nullptr);

    int learnedCount() const;
    int mistakesCount() const;
    /*! Whole seconds since start(); a duration, so days of learning add up. */
    qint64 learningSeconds() const;
    void start();
    void reset();

public slots:
    void incrementLearned();
    void incrementMistakes();

private:
    int learned = 0;
    int mistakes = 0;
    QElapsedTimer clock;
};
