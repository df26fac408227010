#pragma once

#include "twoport/parameterset.h"

#include <QColor>

class QWidget;

namespace kvadra
{

// Title-bar boxes, border and face of a top-level window: always a close box, never a maximize
// box, a dialog border without a minimize box either. The program's face is set on the window
// itself, so that a font the desktop hands out later cannot reach the fixed layouts.
void setUpWindow(QWidget *window, bool fixedBorder, bool minimizeBox, bool dialog = false);
// A fixed-size top-level window with that client area.
void setFixedWindow(QWidget *window, int clientWidth, int clientHeight, bool minimizeBox);

// Each matrix has its colour, the same in every window that shows it; G has none of its own.
QColor matrixColour(ParameterSet set);

void setTextColour(QWidget *widget, const QColor &colour);
// Fills the widget's own background; a frame's contents keep theirs unless they fill too. A fixed
// background takes a fixed text colour with it: a dark desktop's light text would vanish on it.
void setBackground(QWidget *widget, const QColor &colour);

} // namespace kvadra
