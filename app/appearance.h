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

    /*! Keeps \a font (at a readable size) as the interface font; apply() shows it. */
    void setInterfaceFont(const QFont& font);
    /*! Keeps \a font (at a readable size) as the lessons' font and shows it. */
    void setLessonFont(const QFont& font);
    /*! The style called \a name, the platform's own for an empty name. */
    void setStyle(const QString& name);

private:
    Settings& settings;
    QMainWindow* window;
    QList<AbstractLesson*> lessons;
};
