#include "lessons/buttongroup.h"

#include <QAbstractButton>

ButtonGroup::ButtonGroup(QObject* parent)
    : QObject(parent)
{
}

void ButtonGroup::addButton(QAbstractButton* button)
{
    connect(button, &QAbstractButton::clicked, this, &ButtonGroup::setExclusives);
    button->setCheckable(true);
    buttons.append(button);
}

int ButtonGroup::checkedIndex() const
{
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons.at(i)->isChecked())
            return i;
    return -1;
}

QAbstractButton* ButtonGroup::button(int index) const
{
    return buttons.value(index);
}

int ButtonGroup::count() const
{
    return int(buttons.size());
}

void ButtonGroup::setExclusives()
{
    const int index = int(buttons.indexOf(qobject_cast<QAbstractButton*>(sender())));
    if (index < 0)
        return;
    for (int i = 0; i < buttons.size(); ++i)
        buttons.at(i)->setChecked(i == index);
    emit buttonClicked(index);
}
