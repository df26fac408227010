#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace kvadra
{

// Every window is a single instance known by its objectName. Showing a closed window creates
// it, runs its load step and shows it; showing an open one only brings it to the front.
// Closing runs the unload step and discards the window (deferred, so a window may close itself
// from inside its own handler).
class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    explicit WindowRegistry(QObject *parent = nullptr);
    ~WindowRegistry() override;

    void addFactory(const QString &name, Factory factory);

    // Takes an existing window (the main window) into the bookkeeping, runs its load step and
    // shows it. The registry does not discard it on close.
    void adopt(QWidget *window);

    // Opens the named window, or raises it when open. `prepare` fills a new window before it is
    // first shown, so that it is laid out and painted once, with its content.
    QWidget *show(const QString &name, const std::function<void(QWidget *)> &prepare = {});
    // Closes the named window if it is open; does nothing otherwise.
    void close(const QString &name);

    // The open window of that name, or nullptr.
    QWidget *window(const QString &name) const;
    bool isOpen(const QString &name) const { return window(name) != nullptr; }
    // Names of the open windows, in the order they were opened.
    QStringList openWindows() const;

    // The same by window class, for classes that carry their window name as `Name`.
    template <typename W> void add(const std::function<W *()> &make)
    {
        addFactory(QLatin1String(W::Name), [make]() -> QWidget * { return make(); });
    }
    template <typename W> W *show() { return qobject_cast<W *>(show(QLatin1String(W::Name))); }
    template <typename W> W *show(const std::function<void(W *)> &prepare)
    {
        return qobject_cast<W *>(show(QLatin1String(W::Name), [&prepare](QWidget *created) {
            prepare(qobject_cast<W *>(created));
        }));
    }
    template <typename W> W *find() const
    {
        return qobject_cast<W *>(window(QLatin1String(W::Name)));
    }
    template <typename W> void close() { close(QLatin1String(W::Name)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void track(QWidget *window);

    QMap<QString, Factory> m_factories;
    QList<QWidget *> m_open;
    // Every window the registry created, so those whose deferred deletion never ran (the event
    // loop ended first) are still freed.
    QList<QPointer<QWidget>> m_created;
};

} // namespace kvadra
