#pragma once

#include <QList>
#include <QObject>

class QAbstractButton;

/*!
    Keeps exactly the last clicked of its buttons checked and reports its
    position. Unlike QButtonGroup it lets a click on the checked button
    through, so every click is reported.
*/
class ButtonGroup : public QObject
{
    Q_OBJECT

public:
    explicit ButtonGroup(QObject* parent = nullptr);

    void addButton(QAbstractButton* button);
    int checkedIndex() const;
    QAbstractButton* button(int index) const;
    int count() const;

signals:
    void buttonClicked(int index);

public slots:
    void setExclusives();

private:
    QList<QAbstractButton*> buttons;
};
