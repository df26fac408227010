#pragma once

#include "shell/twoportmain.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Drives the real main window as a student would, by window and control names, for the
// scripted session and the latency benchmarks. A missing or disabled control ends the process:
// a script that silently skips a step would measure or check less than it claims.
class Driver
{
public:
    explicit Driver(kvadra::TwoportMain &main);

    QWidget *window(const char *name) const;
    bool isOpen(const char *name) const;
    void click(const char *window, const char *control);
    void type(const char *window, const char *control, const QString &text);
    // Sets the value boxes the open calculator accepts; the others stay at their fixed "0".
    void fill(const QStringList &values);
    void trigger(const char *window, const QString &actionText);
    void close(const char *window);
    // Delivers whatever the last step posted (repaints, deferred deletions), as the event loop
    // would before the student sees the result.
    static void settle();

    // Every message box answered with its default button, and its text.
    const QStringList &boxes() const { return m_boxes; }

private:
    kvadra::TwoportMain &m_main;
    QTimer m_answerer;
    QStringList m_boxes;
};
