#include "support/messageboxanswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxAnswerer::MessageBoxAnswerer(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

QList<MessageBoxAnswerer::Box> MessageBoxAnswerer::takeBoxes()
{
    QList<Box> boxes;
    boxes.swap(m_seen);
    return boxes;
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    Box seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    if (!m_queue.isEmpty()) {
        seen.pressed = m_queue.takeFirst();
    } else if (m_fallback) {
        seen.pressed = m_fallback(seen.buttons);
    } else {
        seen.expected = false;
        seen.pressed =
            box->standardButtons().testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    }
    m_seen.append(seen);
    if (QAbstractButton *button = box->button(seen.pressed))
        button->click();
    else
        box->reject();
}
