#pragma once

#include <QString>

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

// A fixed-size top-level window: no resizing and no maximize box.
void setFixedWindow(QWidget *window, int clientWidth, int clientHeight);

} // namespace kvadra

#include <QColor>

namespace kvadra
{

void setTextColour(QWidget *widget, const QColor &colour);
// Fills the widget's own background; a frame's contents keep theirs unless they fill too.
void setBackground(QWidget *widget, const QColor &colour);
// Every focus gain, by keyboard or mouse, selects the whole text, so typing replaces it.
void selectAllOnFocus(QLineEdit *edit);

// Narrows the letter spacing of a one-line label, by at most a third of a pixel per letter,
// until its text fits the label's fixed width; the face the layout figures were drawn for was
// a little narrower than the one we ship.
void fitTextToWidth(QLabel *label);

} // namespace kvadra
