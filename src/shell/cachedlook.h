#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QPixmap>
#include <QRadioButton>
#include <QString>

#include <functional>

class QPainter;
class QStyleOption;

namespace kvadra
{

// The look of a control in the state the option describes, drawn by `draw` the first time and
// then taken from the pixmap cache. Painting a style's controls costs far more than copying an
// image of them: anti-aliased curves, gradients, nine-patch images and text layout on every
// paint. The key holds everything the styles read: the option's size, state, palette colours
// and the widget's face, plus `what` for the texts and pictures the option does not carry.
QPixmap cachedLook(const QWidget *widget, const QStyleOption &option, const QString &what,
                   const std::function<void(QPainter &)> &draw);

// Standard controls that paint from cachedLook; they behave as their base classes in all else.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class OptionButton : public QRadioButton
{
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class CheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kvadra
