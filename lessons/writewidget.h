#pragma once

#include "lessons/abstractlesson.h"

class QLabel;
class QLineEdit;
class QPushButton;

/*! Writing: the translation is shown and the user types the word, with a
    mask of its letters, hints and the answer at hand. */
class WriteWidget : public AbstractLesson
{
    Q_OBJECT

public:
    explicit WriteWidget(Workspace* workspace, QWidget* parent = nullptr);

    void setupFonts() override;
    QString title() const override;
    void start() override;

public slots:
    void checkAnswer();
    void takePrompt();
    void takeHelp();
    void colorPrompt();

protected:
    void createWidgets() override;
    void createConnections() override;
    void createLayout() override;

private:
    void setControlsEnabled(bool enabled);

    QString prompt;
    bool helpTaken = false;
    QLabel* questionLabel = nullptr;
    QLabel* promptLabel = nullptr;
    QLineEdit* input = nullptr;
    QPushButton* hintButton = nullptr;
    QPushButton* answerButton = nullptr;
    QPushButton* compareButton = nullptr;
};
