#pragma once

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

// A frame's caption, which is also what a screen reader calls the frame.
void setFrameCaption(QGroupBox *frame, const QString &caption);

void makeBold(QWidget *widget);
// Narrows the letter spacing of a one-line label, by at most a third of a pixel per letter,
// until its text fits the label's fixed width; the face the layout figures were drawn for was
// a little narrower than the one we ship.
void fitTextToWidth(QLabel *label);

} // namespace kvadra
