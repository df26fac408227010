#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// Answers the program's real modal message boxes. While a box is open its nested event loop
// keeps running, so a short timer finds it as the active modal widget, records what it shows and
// presses the button the test queued. A box nobody queued an answer for is recorded as
// unexpected and dismissed, so a faulty program cannot hang a test.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton pressed = QMessageBox::NoButton;
        bool expected = true;
    };

    explicit MessageBoxAnswerer(QObject *parent = nullptr);

    void answer(QMessageBox::StandardButton button) { m_queue.append(button); }
    // The boxes seen since the last call, oldest first.
    QList<Box> takeBoxes();
    int pendingAnswers() const { return int(m_queue.size()); }

private:
    void poll();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_queue;
    QList<Box> m_seen;
};
