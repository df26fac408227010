#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAction;
class QLineEdit;
class QWidget;

namespace kvadra
{

// The text a tooltip and What's This (Shift+F1) show, and a screen reader reads as the
// accessible description.
void explain(QWidget *widget, const QString &text);
// Every focus gain, by keyboard or mouse, selects the whole text, so typing replaces it.
void selectAllOnFocus(QLineEdit *edit);

// "Copy results" (also Ctrl+Shift+C anywhere in the window) and "Copy as LaTeX" in the context
// menu of `area`; each puts what `text(latex)` gives on the clipboard, unless that is empty.
// Returns the two actions, for the menus of boxes inside the area.
QList<QAction *> addCopyActions(QWidget *area, const std::function<QString(bool latex)> &text);

} // namespace kvadra
