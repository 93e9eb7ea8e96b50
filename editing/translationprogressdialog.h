#pragma once

#include <QProgressDialog>
#include <QStringList>

class Translations;

/*
    The modal progress of a batch translation: shows how many answers have
    arrived and lets the user abort the wait.
*/
class TranslationProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    explicit TranslationProgressDialog(QWidget* parent = nullptr);

    /* Translates \a words with \a translations, from the user's language into
        the learning language when \a reverse is set, and returns once every
        answer arrived (true) or the user aborted (false). */
    bool run(Translations* translations, const QStringList& words, bool reverse);
};
