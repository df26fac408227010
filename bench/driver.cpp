#include "driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace
{
[[noreturn]] void fail(const char *what, const char *window, const char *control = "")
{
    std::fprintf(stderr, "driver: %s: %s %s\n", what, window, control);
    std::exit(2);
}
} // namespace

Driver::Driver(kvadra::TwoportMain &main) : m_main(main)
{
    // A box blocks in its own event loop; this timer runs there and answers it.
    m_answerer.setInterval(1);
    QObject::connect(&m_answerer, &QTimer::timeout, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_boxes << box->text();
        QAbstractButton *answer = box->defaultButton();
        if (!answer && !box->buttons().isEmpty())
            answer = box->buttons().first();
        answer ? answer->click() : box->reject();
    });
    m_answerer.start();
}

QWidget *Driver::window(const char *name) const
{
    QWidget *w = m_main.windows().window(QLatin1String(name));
    if (!w)
        fail("window not open", name);
    return w;
}

bool Driver::isOpen(const char *name) const
{
    return m_main.windows().isOpen(QLatin1String(name));
}

void Driver::click(const char *windowName, const char *control)
{
    auto *button = window(windowName)->findChild<QAbstractButton *>(QLatin1String(control));
    if (!button || !button->isVisible() || !button->isEnabled())
        fail("cannot click", windowName, control);
    button->click();
}

void Driver::type(const char *windowName, const char *control, const QString &text)
{
    auto *box = window(windowName)->findChild<QLineEdit *>(QLatin1String(control));
    if (!box || !box->isEnabled() || box->isReadOnly())
        fail("cannot type into", windowName, control);
    box->setText(text);
}

void Driver::fill(const QStringList &values)
{
    for (int k = 0; k < values.size(); ++k) {
        const QByteArray name = "val" + QByteArray::number(k + 1);
        auto *box = window("exercise_calc")->findChild<QLineEdit *>(QLatin1String(name));
        if (box && box->isEnabled())
            box->setText(values[k]);
    }
}

void Driver::trigger(const char *windowName, const QString &actionText)
{
    for (QAction *action : window(windowName)->findChildren<QAction *>())
        if (action->text() == actionText && action->isEnabled()) {
            action->trigger();
            return;
        }
    fail("no action", windowName, qPrintable(actionText));
}

void Driver::close(const char *windowName)
{
    if (isOpen(windowName))
        window(windowName)->close();
}

void Driver::settle()
{
    for (int pass = 0; pass < 2; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}
