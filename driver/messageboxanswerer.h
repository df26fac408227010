#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <utility>

// Answers the program's real modal message boxes. While a box is open its nested event loop
// keeps running, so a short timer finds it as the active modal widget, records what it shows and
// presses the button the test queued. A box nobody queued an answer for is dismissed (No, or
// OK), so a faulty program cannot hang a test; its text still shows among the boxes seen.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        bool operator==(const Box &o) const
        {
            return title == o.title && text == o.text && icon == o.icon && buttons == o.buttons;
        }
    };
    using Fallback = std::function<QMessageBox::StandardButton(QMessageBox::StandardButtons)>;

    explicit MessageBoxAnswerer(QObject *parent = nullptr);
    void answer(QMessageBox::StandardButton button) { m_queue.append(button); }
    // Picks the answer to a box nothing was queued for, so a walk that cannot foresee which
    // actions raise a box still answers each one on purpose.
    void setFallback(Fallback fallback) { m_fallback = std::move(fallback); }
    // The boxes seen since the last call, oldest first.
    QList<Box> takeBoxes() { return std::exchange(m_seen, {}); }

private:
    void poll();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_queue;
    Fallback m_fallback;
    QList<Box> m_seen;
};
