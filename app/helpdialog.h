#pragma once

#include <QDialog>

class QTextBrowser;

/*!
    The help page in a window of the program's own, so F1 works on a machine
    without a web browser. Links within the page and to other local pages
    stay in the window; only outside addresses go to the system's browser.
*/
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HelpDialog(QWidget* parent = nullptr);

    /*! Shows \a file; false, leaving the window as it was, when it cannot be read. */
    bool showFile(const QString& file);

    /*!
        Shows \a file in \a window's help window, made on first use and
        kept, so the reader finds their place again; false when the file
        cannot be read.
    */
    static bool showIn(QWidget* window, const QString& file);

private:
    QTextBrowser* browser;
};
