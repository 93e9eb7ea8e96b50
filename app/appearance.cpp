#include "app/appearance.h"

#include <QApplication>
#include <QFontDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

#include "app/styles.h"
#include "config/settings.h"
#include "lessons/abstractlesson.h"

Appearance::Appearance(Settings* settings, QMainWindow* window, const QList<AbstractLesson*>& lessons)
    : QObject(window)
    , settings(*settings)
    , window(window)
    , lessons(lessons)
{
}

void Appearance::apply()
{
    QApplication::setFont(settings.interfaceFont);
    // Widgets with a style sheet took their font when the sheet was set;
    // setting it again makes them take the new one.
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* widget : children) {
        if (!widget->styleSheet().isEmpty())
            widget->setStyleSheet(widget->styleSheet());
    }
    for (AbstractLesson* lesson : std::as_const(lessons))
        lesson->setupFonts();
    // Every menu title fits in the window whatever the interface font.
    window->setMinimumWidth(qMin(window->menuBar()->sizeHint().width(), 1200));
    Styles::apply(settings.styleName, settings.nativeStyle);
}

void Appearance::placeWindow()
{
    // Stored values may come from another screen or a damaged file.
    const QScreen* screen = QGuiApplication::screenAt(settings.mwPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect fitted = fitToScreen(settings.mwSize, settings.mwPos, screen ? screen->availableGeometry() : QRect());
    window->resize(fitted.size());
    window->move(fitted.topLeft());
}

void Appearance::setInterfaceFont(const QFont& font)
{
    settings.interfaceFont = font;
    settings.interfaceFont.setPointSize(sensibleFontSize(font.pointSize(), 10, MaximumInterfaceFontSize));
}

void Appearance::setLessonFont(const QFont& font)
{
    settings.lessonFont = font;
    settings.lessonFont.setPointSize(sensibleFontSize(font.pointSize(), 12, MaximumLessonFontSize));
    for (AbstractLesson* lesson : std::as_const(lessons))
        lesson->setupFonts();
}

void Appearance::setStyle(const QString& name)
{
    settings.styleName = name.isEmpty() ? settings.nativeStyle : name;
    Styles::apply(settings.styleName, settings.nativeStyle);
}

bool Appearance::chooseInterfaceFont()
{
    return chooseFont(settings.interfaceFont, &Appearance::setInterfaceFont);
}

bool Appearance::chooseLessonFont()
{
    return chooseFont(settings.lessonFont, &Appearance::setLessonFont);
}

bool Appearance::chooseFont(const QFont& current, void (Appearance::*apply)(const QFont&))
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, window);
    if (ok)
        (this->*apply)(font);
    return ok;
}
