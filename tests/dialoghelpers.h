#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

/*
    Tests never leave a modal dialog waiting for a person: these helpers
    answer it from a timer, from inside the dialog's own event loop.
*/

/*! Runs \a act on the next modal window of type T once it is the active one.
    A wait that may find nothing goes with \a context, so that it cannot
    answer a dialog of a later test. */
template <typename T>
void whenModal(const std::function<void(T*)>& act, QObject* context = nullptr)
{
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!widget)
            return;
        timer->stop();
        timer->deleteLater();
        act(widget);
    });
    timer->start();
}

/*!
    Answers the message boxes that open while it lives, keeping their titles
    and texts: with the listed buttons in turn (then leaving further boxes
    alone), or with one button for every box.
*/
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok)
        : button(button)
    {
        start();
    }

    explicit BoxAnswerer(QList<QMessageBox::StandardButton> buttons)
        : button(QMessageBox::NoButton)
        , queue(std::move(buttons))
        , queued(true)
    {
        start();
    }

    QStringList titles;
    QStringList texts;
    QMessageBox::StandardButton button;

private:
    void start()
    {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || (queued && queue.isEmpty()))
                return;
            titles.append(box->windowTitle());
            texts.append(box->text());
            QAbstractButton* target = box->button(queued ? queue.takeFirst() : button);
            (target ? target : box->buttons().first())->click();
        });
        timer.start();
    }

    QList<QMessageBox::StandardButton> queue;
    bool queued = false;
    QTimer timer;
};

/*! Fires now every running timer among the children of \a object: a test
    sees what they would do (QProgressDialog's own timer shows it a few
    seconds after construction) without waiting for them. */
inline bool fireRunningTimers(QObject* object)
{
    for (QTimer* timer : object->findChildren<QTimer*>())
        if (timer->isActive() && !QMetaObject::invokeMethod(timer, "timeout"))
            return false;
    QCoreApplication::processEvents();
    return true;
}

/*! The child of \a parent of type T whose text() is \a text. */
template <typename T>
T* childWithText(QWidget* parent, const QString& text)
{
    const auto all = parent->findChildren<T*>();
    for (T* widget : all)
        if (widget->text() == text)
            return widget;
    return nullptr;
}
