#pragma once

#include <QString>

// Fixed style sheets shared by the lessons and the main window.
inline QString plainCardStyleSheet()
{
    return QStringLiteral("QGroupBox {border: 1px solid white}");
}

inline QString choiceCardStyleSheet()
{
    return QStringLiteral("QGroupBox {background-color: #D0DAFF;border: 1px solid #96978B; border-radius: 4px}");
}

inline QString answerButtonStyleSheet()
{
    return QStringLiteral("QPushButton {outline:none; border: 1px solid #96978B;border-radius: 4px; color: black}"
                          ":hover,:focus {background-color: #D0DAFF}"
                          ":checked {border: 1px solid #96978B;background-color: #BCFFB2}");
}

inline QString wrongAnswerStyleSheet()
{
    return QStringLiteral("QPushButton {border: 1px solid #96978B;border-radius: 4px; color: black;"
                          "background-color: #FFB2E2}");
}

inline QString stackStyleSheet()
{
    return QStringLiteral("QStackedWidget {background: white}");
}
