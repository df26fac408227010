#include "resources/picturewidgets.h"

#include "resources/pictures.h"

#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>

namespace kvadra
{

const QPixmap &PictureCache::get(const QString &name, qreal devicePixelRatio)
{
    if (name != m_name || m_pixmap.devicePixelRatio() != devicePixelRatio) {
        m_name = name;
        m_pixmap = picture(name, devicePixelRatio);
    }
    return m_pixmap;
}

namespace
{
QAccessibleInterface *pictureBoxAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("kvadra::PictureBox") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}
} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureBoxAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void PictureBox::setPictureName(const QString &name)
{
    m_name = name;
    setAccessibleName(pictureDescription(name));
    setAccessibleDescription(pictureDetails(name));
    updateGeometry();
    update();
}

QSize PictureBox::sizeHint() const
{
    return m_name.isEmpty() ? QSize(0, 0) : pictureSize(m_name);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_name.isEmpty())
        return;
    QPainter(this).drawPixmap(0, 0, picture(m_name, devicePixelRatioF()));
}

PictureButton::PictureButton(const QString &pictureName, QWidget *parent)
    : QPushButton(parent), m_name(pictureName)
{
    setAccessibleName(pictureDescription(pictureName));
    setAccessibleDescription(pictureDetails(pictureName));
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    p.fillRect(face, Qt::white);
    const QSize size = pictureSize(m_name);
    p.drawPixmap(face.x() + (face.width() - size.width()) / 2,
                 face.y() + (face.height() - size.height()) / 2,
                 picture(m_name, devicePixelRatioF()));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face;
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace kvadra
