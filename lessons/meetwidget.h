#pragma once

#include "lessons/abstractlesson.h"

class QGroupBox;
class QLabel;
class QPushButton;

/*! Memorising: the word, its transcription and translation; OK moves on. */
class MeetWidget : public AbstractLesson
{
    Q_OBJECT

public:
    explicit MeetWidget(Workspace* workspace, QWidget* parent = nullptr);

    void setupFonts() override;
    QString title() const override;
    void start() override;

public slots:
    void okClicked();

protected:
    void createWidgets() override;
    void createConnections() override;
    void createLayout() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* wordLabel = nullptr;
    QLabel* translationLabel = nullptr;
    QPushButton* okButton = nullptr;
    QGroupBox* card = nullptr;
};
