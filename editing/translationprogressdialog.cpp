#include "editing/translationprogressdialog.h"

#include <QEventLoop>
#include <QProgressBar>

#include <utility>

#include "config/settings.h"
#include "editing/translations.h"

TranslationProgressDialog::TranslationProgressDialog(QWidget* parent)
    : QProgressDialog(tr("Перевод слов..."), tr("Прервать"), 0, 0, parent)
{
    setModal(true);
    // Words, not percent: "12 из 60" tells how far the batch is.
    auto* progress = new QProgressBar(this);
    progress->setFormat(tr("%v из %m"));
    setBar(progress);
    // Shown at once: while the batch runs, the dialog underneath must not
    // take a second press of its button.
    setMinimumDuration(0);
    // QProgressDialog shows itself a few seconds after construction unless
    // told otherwise; this one waits for a batch to run.
    reset();
}

bool TranslationProgressDialog::run(Translations* translations, const QStringList& words,
                                    bool reverse)
{
    const int total = int(words.size());
    reset();
    setMinimum(0);
    setMaximum(total);
    if (total == 0)
        return true;

    translations->translate(words, reverse);

    // Wait in a local event loop that only wakes for answers and for the
    // abort button, instead of spinning over the event queue.
    QEventLoop loop;
    bool updating = false;
    bool pending = false;
    const auto showCount = [&] {
        // A modal progress dialog processes events inside setValue(), where
        // more answers arrive; they are shown by the call already running
        // instead of nesting one call in the other.
        if (updating) {
            pending = true;
            return;
        }
        updating = true;
        do {
            pending = false;
            setValue(translations->count());
        } while (pending && !wasCanceled() && translations->count() < total);
        updating = false;
    };
    connect(translations, &Translations::received, &loop, [&](int count) {
        if (count >= total)
            loop.quit();
        showCount();
    });
    connect(this, &QProgressDialog::canceled, &loop, &QEventLoop::quit);

    setValue(translations->count());
    if (translations->count() < total && !wasCanceled())
        loop.exec();

    const bool complete = translations->count() >= total;
    // After an abort the dialog is already hidden; setting a value could show it again.
    if (!wasCanceled())
        setValue(translations->count());
    return complete;
}
