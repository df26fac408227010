#include "shell/cachingstyle.h"

#include "resources/bands.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace kvadra
{

QPixmap cachedLook(const QWidget *widget, const QStyleOption &option, const QString &what,
                   const std::function<void(QPainter &)> &draw, const QRect &area)
{
    const QRect drawn = area.isNull() ? option.rect : area;
    const qreal ratio = widget->devicePixelRatioF();
    QString key = QStringLiteral("kvadra/look/%1/%2x%3@%4/%5/%6/")
                      .arg(QLatin1String(widget->metaObject()->className()))
                      .arg(drawn.width())
                      .arg(drawn.height())
                      .arg(ratio)
                      .arg(int(option.state))
                      .arg(widget->font().key());
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        key += QString::number(option.palette.color(QPalette::ColorRole(role)).rgba(), 36) + ',';
    key += what;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(drawn.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        // A painter on a widget starts with the widget's face, one on a pixmap does not.
        p.setFont(widget->font());
        p.setLayoutDirection(widget->layoutDirection());
        p.translate(-drawn.topLeft());
        paintInBands(p, drawn, [&] { draw(p); });
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

namespace
{
// Only a copy at the same pixel grid looks the same as drawing; a scaled or rotated painter
// (printing, a widget rendered into a transformed device) gets the style's own drawing.
bool copyable(const QPainter *painter, const QWidget *widget)
{
    return widget && painter->transform().type() <= QTransform::TxTranslate &&
           painter->device()->devicePixelRatioF() == widget->devicePixelRatioF();
}

void copy(QPainter *painter, const QRect &at, const QPixmap &look)
{
    paintInBands(*painter, at, [&] { painter->drawPixmap(at.topLeft(), look); });
}
} // namespace

void CachingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const
{
    if (element != PE_PanelLineEdit || !copyable(painter, widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    copy(painter, option->rect,
         cachedLook(widget, *option, QStringLiteral("pe%1").arg(element),
                    [&](QPainter &p) { QProxyStyle::drawPrimitive(element, option, &p, widget); }));
}

void CachingStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if ((element != CE_RadioButton && element != CE_CheckBox) || !button ||
        !copyable(painter, widget)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    copy(painter, option->rect,
         cachedLook(widget, *option, QStringLiteral("ce%1/").arg(element) + button->text,
                    [&](QPainter &p) { QProxyStyle::drawControl(element, option, &p, widget); }));
}

void CachingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                      QPainter *painter, const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !frame || !copyable(painter, widget)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The border and the caption are kept apart: the border is as large as the frame, and a
    // frame whose caption changes (the selection window's, at every step of a test) would
    // otherwise fill the cache with a frame-sized image per caption.
    QStyleOptionGroupBox part = *frame;
    part.subControls = frame->subControls & SC_GroupBoxFrame;
    if (part.subControls) {
        // Where the border starts depends on whether there is a caption, not on its text.
        const QString what =
            QStringLiteral("cc%1/border/%2").arg(control).arg(!frame->text.isEmpty());
        copy(painter, option->rect, cachedLook(widget, part, what, [&](QPainter &p) {
                 QProxyStyle::drawComplexControl(control, &part, &p, widget);
             }));
    }
    part.subControls = frame->subControls & ~SC_GroupBoxFrame;
    if (part.subControls && !frame->text.isEmpty()) {
        // Styles put the caption on the frame's first line.
        QRect line = option->rect;
        line.setHeight(std::min(line.height(), widget->fontMetrics().height() + 4));
        const QString what = QStringLiteral("cc%1/caption/").arg(control) + frame->text;
        painter->drawPixmap(
            line.topLeft(),
            cachedLook(
                widget, part, what,
                [&](QPainter &p) { QProxyStyle::drawComplexControl(control, &part, &p, widget); },
                line));
    }
}

} // namespace kvadra
