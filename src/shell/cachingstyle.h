#pragma once

#include <QPixmap>
#include <QProxyStyle>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;
class QStyleOption;

namespace kvadra
{

// The look of a control in the state the option describes, drawn by `draw` the first time and
// then taken from the pixmap cache. The key holds everything the styles read: the option's size,
// state and palette colours and the widget's class and face, plus `what` for whatever else the
// drawing shows (the element drawn, a text, a picture). The image covers `area`, by default the
// option's rectangle.
QPixmap cachedLook(const QWidget *widget, const QStyleOption &option, const QString &what,
                   const std::function<void(QPainter &)> &draw, const QRect &area = QRect());

// The application's style, unchanged in look, with the controls that are slow to draw taken
// from cachedLook. The style draws them with anti-aliased curves, gradients, a nine-patch image
// stretched across each frame and a text layout per caption on every paint, and every window
// repaints its frames and option buttons whenever it opens or the units lock; a cached image
// costs a copy. Tall images are copied in bands (paintInBands).
class CachingStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
};

} // namespace kvadra
