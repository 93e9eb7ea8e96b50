#pragma once

#include <QList>

#include "lessons/abstractlesson.h"

class QGroupBox;
class QLabel;
class QPushButton;
class ButtonGroup;

/*! Choice: one word asked with six answers, alternating between showing the
    word (translations offered) and showing the translation (words offered). */
class SelectWidget : public AbstractLesson
{
    Q_OBJECT

public:
    explicit SelectWidget(Workspace* workspace, QWidget* parent = nullptr);

    void setupFonts() override;
    QString title() const override;

    bool isWordMode() const { return wordMode; }
    QList<int> shownVariants() const { return variantsShown; }
    QPushButton* answerButton(int index) const;

public slots:
    void start() override;
    void checkAnswer(int index);

protected:
    void createWidgets() override;
    void createConnections() override;
    void createLayout() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askWord();
    void askTranslation();
    QIcon renderedWord(int key, int width) const;
    /*! Puts the answers on the buttons again, wrapped to their width. */
    void fitAnswers();
    void resizeEvent(QResizeEvent* event) override;
    /*! Moves the focus from answer \a from (-1: the question) to the next
        open answer in direction \a step. */
    void moveFocus(int from, int step);

    static constexpr int AnswerCount = 6;

    bool wordMode = true;
    QList<int> variantsShown;
    QLabel* questionLabel = nullptr;
    QGroupBox* card = nullptr;
    QList<QPushButton*> buttons;
    ButtonGroup* group = nullptr;
};
