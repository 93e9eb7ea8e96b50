#pragma once

#include "lessons/abstractlesson.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QFrame;

/*! Word selection: walks through the words never chosen and lets the user
    learn them, mark them as known, or learn them all, then start learning. */
class FillWidget : public AbstractLesson
{
    Q_OBJECT

public:
    explicit FillWidget(Workspace* workspace, QWidget* parent = nullptr);

    void setupFonts() override;
    QString title() const override;
    void start() override;

public slots:
    void showNextUnit();
    void learn();
    void dontLearn();
    void learnAll();
    void startLearning();
    /*! Shows how many learned words are due for review; none hides the button. */
    void setDueCount(int count);

signals:
    /*! The learner asked to review the learned words that are due. */
    void reviewRequested();

protected:
    void createWidgets() override;
    void createConnections() override;
    void createLayout() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasWordOnCard() const;
    void showMessage();
    /*! Words left half-learned by an earlier run wait outside the pool;
        starting to learn takes them up again. */
    QList<int> wordsInProgress() const;

    QPushButton* learnButton = nullptr;
    QPushButton* dontLearnButton = nullptr;
    QPushButton* learnAllButton = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* reviewButton = nullptr;
    int dueCount = 0;
    QLabel* wordLabel = nullptr;
    QLabel* translationLabel = nullptr;
    QLabel* messageLabel = nullptr;
    QFrame* line = nullptr;
    QFrame* verticalLine = nullptr;
    QGroupBox* card = nullptr;
};
