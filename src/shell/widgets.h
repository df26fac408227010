#pragma once

#include "twoport/parameterset.h"

#include <QColor>
#include <QList>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kvadra
{

class ResultBox;

// Layout figures come in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int tw(int twips)
{
    return (twips + 7) / 15;
}

// Builders for named controls at a pixel geometry relative to their container. Frames get a
// bold caption while everything inside them keeps the regular face.
QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, int x, int y, int w,
                     int h);
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                        int h);
QRadioButton *makeOption(QWidget *parent, const char *name, const QString &text, int x, int y,
                         int w, int h);
QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                     int h);
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                  int h);
QLineEdit *makeEdit(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                    int h);
ResultBox *makeResult(QWidget *parent, const char *name, int x, int y, int w, int h);

// The name of a parameter's button: "btnZ11" for "z11", "btnA" for "A".
QString parameterButtonName(const QString &parameter);
// The four square parameter buttons of a matrix frame, row by row (11, 12, 21, 22), each captioned
// with its parameter and named after it; a click calls onClick with the button's index.
std::array<QPushButton *, 4> makeButtonGrid(QGroupBox *frame,
                                            const std::array<QString, 4> &parameters,
                                            const std::function<void(int)> &onClick);

// Title-bar boxes, border and face of a top-level window: always a close box, never a maximize
// box, a dialog border without a minimize box either. The program's face is set on the window
// itself, so that a font the desktop hands out later cannot reach the fixed layouts.
void setUpWindow(QWidget *window, bool fixedBorder, bool minimizeBox, bool dialog = false);
// A fixed-size top-level window with that client area.
void setFixedWindow(QWidget *window, int clientWidth, int clientHeight, bool minimizeBox);

// Each matrix has its colour, the same in every window that shows it; G has none of its own.
QColor matrixColour(ParameterSet set);

// A frame's caption, which is also what a screen reader calls the frame.
void setFrameCaption(QGroupBox *frame, const QString &caption);

void makeBold(QWidget *widget);
void setTextColour(QWidget *widget, const QColor &colour);
// Fills the widget's own background; a frame's contents keep theirs unless they fill too. A fixed
// background takes a fixed text colour with it: a dark desktop's light text would vanish on it.
void setBackground(QWidget *widget, const QColor &colour);
// The text a tooltip and What's This (Shift+F1) show, and a screen reader reads as the
// accessible description.
void explain(QWidget *widget, const QString &text);
// Every focus gain, by keyboard or mouse, selects the whole text, so typing replaces it.
void selectAllOnFocus(QLineEdit *edit);

// "Copy results" (also Ctrl+Shift+C anywhere in the window) and "Copy as LaTeX" in the context
// menu of `area`; each puts what `text(latex)` gives on the clipboard, unless that is empty.
// Returns the two actions, for the menus of boxes inside the area.
QList<QAction *> addCopyActions(QWidget *area, const std::function<QString(bool latex)> &text);

// Narrows the letter spacing of a one-line label, by at most a third of a pixel per letter,
// until its text fits the label's fixed width; the face the layout figures were drawn for was
// a little narrower than the one we ship.
void fitTextToWidth(QLabel *label);

} // namespace kvadra
