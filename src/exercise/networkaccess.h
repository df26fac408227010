#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace kvadra
{

// A screen reader's view of the drawing: each element an accessible object of its own, named
// and described by kind, value and nodes, where it is on the screen.
QAccessibleInterface *networkAccess(const QString &className, QObject *object);

} // namespace kvadra
