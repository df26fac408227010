#include "shell/widgets.h"

#include "resources/bands.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace kvadra
{

namespace
{
// A group box painted as QGroupBox paints itself, but for its border. The style stretches a
// nine-patch image over the whole frame, a scaled and blended image as large as the frame on
// every paint, and the frames are the largest controls of every window. Drawn once per size and
// then copied, it costs a blit.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QPixmap border = borderImage(option);
        paintInBands(p, rect(), [&] { p.drawPixmap(0, 0, border); });
        option.subControls &= ~QStyle::SC_GroupBoxFrame;
        p.drawComplexControl(QStyle::CC_GroupBox, option);
    }

private:
    QPixmap borderImage(const QStyleOptionGroupBox &option) const
    {
        const qreal ratio = devicePixelRatioF();
        // The border sits below the caption's line, so it depends on the caption's height.
        const QString key = QStringLiteral("kvadra/frame/%1x%2@%3/%4")
                                .arg(width())
                                .arg(height())
                                .arg(ratio)
                                .arg(option.text.isEmpty() ? 0 : fontMetrics().height());
        QPixmap pixmap;
        if (QPixmapCache::find(key, &pixmap))
            return pixmap;
        pixmap = QPixmap(size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            QStyleOptionGroupBox frame = option;
            frame.subControls = QStyle::SC_GroupBoxFrame;
            style()->drawComplexControl(QStyle::CC_GroupBox, &frame, &p, this);
        }
        QPixmapCache::insert(key, pixmap);
        return pixmap;
    }
};

template <typename W> W *place(W *widget, const char *name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    // A frame's bold face would otherwise pass down to its contents.
    if (widget->parentWidget() && !qobject_cast<QGroupBox *>(widget)) {
        QFont regular = QApplication::font();
        regular.setBold(false); // marks the weight as set here, not inherited
        widget->setFont(regular);
    }
    return widget;
}
} // namespace

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, int x, int y, int w,
                     int h)
{
    auto *frame = place(new Frame(caption, parent), name, x, y, w, h);
    QFont bold = QApplication::font();
    bold.setBold(true);
    frame->setFont(bold);
    return frame;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                        int h)
{
    auto *button = place(new QPushButton(text, parent), name, x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

QRadioButton *makeOption(QWidget *parent, const char *name, const QString &text, int x, int y,
                         int w, int h)
{
    return place(new QRadioButton(text, parent), name, x, y, w, h);
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                     int h)
{
    return place(new QCheckBox(text, parent), name, x, y, w, h);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                  int h)
{
    return place(new QLabel(text, parent), name, x, y, w, h);
}

QLineEdit *makeEdit(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                    int h)
{
    return place(new QLineEdit(text, parent), name, x, y, w, h);
}

void setFixedWindow(QWidget *window, int clientWidth, int clientHeight)
{
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientWidth, clientHeight);
}

} // namespace kvadra

#include <QEvent>
#include <QTimer>

namespace kvadra
{

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

namespace
{
class SelectAllOnFocus : public QObject
{
public:
    explicit SelectAllOnFocus(QLineEdit *edit) : QObject(edit) { edit->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *edit = static_cast<QLineEdit *>(watched);
            // A mouse press places the cursor after the focus arrives; select once it has.
            QTimer::singleShot(0, edit,
                               [edit] { edit->setSelection(0, int(edit->text().size())); });
        }
        return false;
    }
};
} // namespace

void selectAllOnFocus(QLineEdit *edit)
{
    new SelectAllOnFocus(edit);
}

void fitTextToWidth(QLabel *label)
{
    QFont font = label->font();
    for (qreal spacing = -0.05; label->sizeHint().width() > label->width() && spacing >= -0.3;
         spacing -= 0.05) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        label->setFont(font);
    }
}

} // namespace kvadra
