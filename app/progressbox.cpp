#include "app/progressbox.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>

#include "app/progresschart.h"

ProgressBox::ProgressBox(const QString& totals, const ReviewSchedule& schedule, const QDate& today, QWidget* parent)
    : QMessageBox(QMessageBox::Information, tr("Прогресс"), totals, QMessageBox::Ok | QMessageBox::Reset, parent)
{
    setTextFormat(Qt::RichText);
    // Enter, Escape and the close button close the box; clearing the
    // totals takes a deliberate choice.
    setDefaultButton(QMessageBox::Ok);
    setEscapeButton(QMessageBox::Ok);
    // The chart goes between the totals and the buttons.
    auto* grid = qobject_cast<QGridLayout*>(layout());
    auto* buttons = findChild<QDialogButtonBox*>();
    if (grid && buttons) {
        const int row = grid->rowCount();
        grid->removeWidget(buttons);
        grid->addWidget(createProgressChart(schedule, today, this), row, 0, 1, grid->columnCount());
        grid->addWidget(buttons, row + 1, 0, 1, grid->columnCount());
    }
}
