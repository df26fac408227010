#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kvadra
{

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

// The four square parameter buttons of a matrix frame, row by row (11, 12, 21, 22); a click
// calls onClick with the button's index.
std::array<QPushButton *, 4> makeButtonGrid(QGroupBox *frame,
                                            const std::array<const char *, 4> &names,
                                            const std::array<const char *, 4> &captions,
                                            const std::function<void(int)> &onClick);

// Title-bar boxes and border of a top-level window: always a close box, never a maximize box.
// A dialog border has no minimize box either.
void setWindowBoxes(QWidget *window, bool fixedBorder, bool minimizeBox, bool dialog = false);
// A fixed-size top-level window with that client area.
void setFixedWindow(QWidget *window, int clientWidth, int clientHeight, bool minimizeBox);

// Each matrix has its colour, the same in every window that shows it.
enum class MatrixKind { Z, Y, H, ABCD };
QColor matrixColour(MatrixKind kind);

void makeBold(QWidget *widget);
void setTextColour(QWidget *widget, const QColor &colour);
// Fills the widget's own background; a frame's contents keep theirs unless they fill too.
void setBackground(QWidget *widget, const QColor &colour);
// The text a tooltip shows, which screen readers read as the accessible description.
void explain(QWidget *widget, const QString &text);
// Every focus gain, by keyboard or mouse, selects the whole text, so typing replaces it.
void selectAllOnFocus(QLineEdit *edit);

// "Copy results" (also Ctrl+Shift+C anywhere in the window) and "Copy as LaTeX" in the context
// menu of `area`; each puts what `text(latex)` gives on the clipboard, unless that is empty.
void addCopyActions(QWidget *area, const std::function<QString(bool latex)> &text);

// Narrows the letter spacing of a one-line label, by at most a third of a pixel per letter,
// until its text fits the label's fixed width; the face the layout figures were drawn for was
// a little narrower than the one we ship.
void fitTextToWidth(QLabel *label);

} // namespace kvadra
