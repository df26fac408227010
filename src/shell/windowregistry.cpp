#include "shell/windowregistry.h"

#include "shell/form.h"

#include <QCloseEvent>

namespace kvadra
{

WindowRegistry::WindowRegistry(QObject *parent) : QObject(parent) {}

WindowRegistry::~WindowRegistry()
{
    for (QWidget *w : std::as_const(m_open))
        w->removeEventFilter(this);
    for (const QPointer<QWidget> &w : std::as_const(m_created))
        delete w.data();
}

void WindowRegistry::addFactory(const QString &name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

void WindowRegistry::track(QWidget *window)
{
    window->installEventFilter(this);
    m_open.append(window);
    if (Form *form = dynamic_cast<Form *>(window))
        form->load();
    window->show();
}

void WindowRegistry::adopt(QWidget *window)
{
    track(window);
}

QWidget *WindowRegistry::show(const QString &name, const std::function<void(QWidget *)> &prepare)
{
    if (QWidget *open = window(name)) {
        open->raise();
        open->activateWindow();
        return open;
    }
    const auto factory = m_factories.constFind(name);
    Q_ASSERT_X(factory != m_factories.constEnd(), "WindowRegistry::show", qPrintable(name));
    if (factory == m_factories.constEnd())
        return nullptr;
    QWidget *created = (*factory)();
    Q_ASSERT(created->objectName() == name);
    created->setAttribute(Qt::WA_DeleteOnClose);
    if (prepare)
        prepare(created);
    m_created.removeAll(nullptr);
    m_created.append(created);
    track(created);
    return created;
}

void WindowRegistry::close(const QString &name)
{
    if (QWidget *open = window(name))
        open->close();
}

QWidget *WindowRegistry::window(const QString &name) const
{
    for (QWidget *w : m_open)
        if (w->objectName() == name)
            return w;
    return nullptr;
}

QStringList WindowRegistry::openWindows() const
{
    QStringList names;
    for (QWidget *w : m_open)
        names << w->objectName();
    return names;
}

bool WindowRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        auto *w = static_cast<QWidget *>(watched);
        if (m_open.contains(w)) {
            // Forget the window first, so whatever its unload step does already sees it closed.
            m_open.removeOne(w);
            w->removeEventFilter(this);
            if (Form *form = dynamic_cast<Form *>(w))
                form->unload();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kvadra
