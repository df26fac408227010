#include "driver/messageboxanswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxAnswerer::MessageBoxAnswerer(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    const QMessageBox::StandardButtons offered = box->standardButtons();
    m_seen.append({box->windowTitle(), box->text(), box->icon(), offered});
    const QMessageBox::StandardButton press =
        !m_queue.isEmpty() ? m_queue.takeFirst()
        : m_fallback       ? m_fallback(offered)
                     : (offered.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    if (QAbstractButton *button = box->button(press))
        button->click();
    else
        box->reject();
}
