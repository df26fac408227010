#include "exercise/networkaccess.h"

#include "exercise/networkview.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace kvadra
{

namespace
{
class ElementAccess : public QAccessibleInterface
{
public:
    ElementAccess(NetworkView *view, int index) : m_view(view), m_index(index) {}

    bool isValid() const override { return m_view && m_index < m_view->drawing().elements.size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        switch (t) {
        case QAccessible::Name:
            return m_view->drawing().elements[m_index].name;
        case QAccessible::Description:
            return m_view->describe(m_index);
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_view->elementRect(m_index);
        return {m_view->viewport()->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (isValid()) {
            s.selected = m_view->selectedNames().contains(m_view->drawing().elements[m_index].name);
            s.focused = s.selected && m_view->hasFocus();
        }
        return s;
    }

private:
    QPointer<NetworkView> m_view;
    int m_index;
};

// The view's own parts (viewport, scroll bars) first, then one child for each element.
class ViewAccess : public QAccessibleWidget
{
public:
    explicit ViewAccess(NetworkView *view) : QAccessibleWidget(view, QAccessible::Client) {}
    ~ViewAccess() override
    {
        for (QAccessible::Id id : std::as_const(m_elements))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return parts() + int(view()->drawing().elements.size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < parts())
            return QAccessibleWidget::child(index);
        const int element = index - parts();
        if (element >= view()->drawing().elements.size())
            return nullptr;
        if (!m_elements.contains(element))
            m_elements[element] =
                QAccessible::registerAccessibleInterface(new ElementAccess(view(), element));
        return QAccessible::accessibleInterface(m_elements[element]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_elements.constBegin(); it != m_elements.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return parts() + it.key();
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < view()->drawing().elements.size(); ++i)
            if (QAccessibleInterface *c = child(parts() + i); c && c->rect().contains(x, y))
                return c;
        return QAccessibleWidget::childAt(x, y);
    }

private:
    NetworkView *view() const { return static_cast<NetworkView *>(widget()); }
    int parts() const { return QAccessibleWidget::childCount(); }

    mutable QHash<int, QAccessible::Id> m_elements;
};
} // namespace

QAccessibleInterface *networkAccess(const QString &className, QObject *object)
{
    if (className == QLatin1String(NetworkView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ViewAccess(static_cast<NetworkView *>(object));
    return nullptr;
}

} // namespace kvadra
