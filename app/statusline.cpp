#include "app/statusline.h"

#include <QFrame>
#include <QLabel>
#include <QStatusBar>

#include "app/statustexts.h"

StatusLine::StatusLine(QStatusBar* bar)
    : QObject(bar)
    , lessonLabel(new QLabel)
    , learnedLabel(new QLabel)
    , learningLabel(new QLabel)
{
    lessonLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->setStyleSheet(QStringLiteral("QStatusBar::item {border: 0px;}"));
    auto vline = [] {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::VLine);
        return line;
    };
    bar->addWidget(lessonLabel, 1);
    bar->addWidget(vline());
    bar->addWidget(learnedLabel);
    bar->addWidget(vline());
    bar->addWidget(learningLabel);
}

void StatusLine::show(const QString& pageTitle, int learned, int words, int learning)
{
    lessonLabel->setText(StatusTexts::lessonLabel(pageTitle));
    learnedLabel->setText(StatusTexts::learnedLabel(learned, words));
    learningLabel->setText(StatusTexts::learningLabel(learning));
}
