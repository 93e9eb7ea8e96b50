#pragma once

#include <QList>
#include <QObject>

class Settings;
class QFont;
class QMainWindow;
class AbstractLesson;

/*
    The look the settings give the main window: the interface font, the
    lessons' font, the style, and the window's place on the screen.
*/
class Appearance : public QObject
{
    Q_OBJECT

public:
    Appearance(Settings* settings, QMainWindow* window, const QList<AbstractLesson*>& lessons);

    /*! The stored interface font and style, for the whole program. */
    void apply();
    /*! The stored size and position, fitted to the screen they belong to. */
    void placeWindow();

    /*! Asks for the interface font and keeps it; false when the learner
        cancelled. apply() shows it. */
    bool chooseInterfaceFont();
    /*! Asks for the lessons' font, keeps it and shows it; false when the
        learner cancelled. */
    bool chooseLessonFont();
    /*! The style called \a name, the platform's own for an empty name. */
    void setStyle(const QString& name);

private:
    // Both keep the font at a readable size.
    void setInterfaceFont(const QFont& font);
    void setLessonFont(const QFont& font);
    bool chooseFont(const QFont& current, void (Appearance::*apply)(const QFont&));
    Settings& settings;
    QMainWindow* window;
    QList<AbstractLesson*> lessons;
};
