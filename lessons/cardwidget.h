#pragma once

#include "lessons/abstractlesson.h"

class QLabel;
class QPushButton;

/*! Flash card: the translation is shown, the user recalls the word and
    judges the answer himself. */
class CardWidget : public AbstractLesson
{
    Q_OBJECT

public:
    explicit CardWidget(Workspace* workspace, QWidget* parent = nullptr);

    void setupFonts() override;
    QString title() const override;
    void start() override;

public slots:
    void answerClicked();
    void recalledClicked();
    void forgotClicked();

protected:
    void createWidgets() override;
    void createConnections() override;
    void createLayout() override;

private:
    void showAnswer();
    void setButtonsEnabled(bool enabled);

    QLabel* questionLabel = nullptr;
    QLabel* answerLabel = nullptr;
    QPushButton* answerButton = nullptr;
    QPushButton* recalledButton = nullptr;
    QPushButton* forgotButton = nullptr;
};
