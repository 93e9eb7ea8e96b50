#pragma once

#include <QCoreApplication>

class QMessageBox;
class QWidget;

/* The Help menu's boxes about the program and about supporting it. */
class AboutBoxes
{
    Q_DECLARE_TR_FUNCTIONS(AboutBoxes)

public:
    static QMessageBox* createAbout(QWidget* parent);
    static QMessageBox* createSupport(QWidget* parent);
};
