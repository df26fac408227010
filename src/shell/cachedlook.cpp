#include "shell/cachedlook.h"

#include "resources/bands.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace kvadra
{

QPixmap cachedLook(const QWidget *widget, const QStyleOption &option, const QString &what,
                   const std::function<void(QPainter &)> &draw)
{
    const qreal ratio = widget->devicePixelRatioF();
    QString key = QStringLiteral("kvadra/look/%1/%2x%3@%4/%5/%6/")
                      .arg(QLatin1String(widget->metaObject()->className()))
                      .arg(option.rect.width())
                      .arg(option.rect.height())
                      .arg(ratio)
                      .arg(int(option.state))
                      .arg(widget->font().key());
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        key += QString::number(option.palette.color(QPalette::ColorRole(role)).rgba(), 36) + ',';
    key += what;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(option.rect.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        // A painter on a widget starts with the widget's face, one on a pixmap does not.
        p.setFont(widget->font());
        p.setLayoutDirection(widget->layoutDirection());
        p.translate(-option.rect.topLeft());
        draw(p);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void Frame::paintEvent(QPaintEvent *)
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QPixmap look = cachedLook(this, option, option.text, [&](QPainter &p) {
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
    });
    QPainter p(this);
    // Frames are the tallest controls of every window.
    paintInBands(p, rect(), [&] { p.drawPixmap(option.rect.topLeft(), look); });
}

void OptionButton::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QPixmap look = cachedLook(this, option, option.text, [&](QPainter &p) {
        style()->drawControl(QStyle::CE_RadioButton, &option, &p, this);
    });
    QPainter(this).drawPixmap(option.rect.topLeft(), look);
}

void CheckBox::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QPixmap look = cachedLook(this, option, option.text, [&](QPainter &p) {
        style()->drawControl(QStyle::CE_CheckBox, &option, &p, this);
    });
    QPainter(this).drawPixmap(option.rect.topLeft(), look);
}

} // namespace kvadra
