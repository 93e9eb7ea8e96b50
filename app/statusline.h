#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

/*
    The status bar's three fields: the page shown, the learned words of the
    dictionary, and the words being learned.
*/
class StatusLine : public QObject
{
    Q_OBJECT

public:
    explicit StatusLine(QStatusBar* bar);

    void show(const QString& pageTitle, int learned, int words, int learning);

private:
    QLabel* lessonLabel;
    QLabel* learnedLabel;
    QLabel* learningLabel;
};
