#include "shell/application.h"

#include "resources/programicon.h"
#include "version.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <qdrawutil.h>

namespace kvadra
{

namespace
{
// Enter presses the focused command button, as it did on the desktops where the program first
// ran. Dialogs (the message boxes) keep their own handling of Enter.
class EnterPressesFocusedButton : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->hasFocus() || qobject_cast<QDialog *>(button->window()))
            return false;
        button->click();
        return true;
    }
};
// The desktop's own style, but for two pictures Fusion reads from PNG files. Qt reads a PNG by
// first loading every image-format plugin to ask whether it wants the file, which costs the main
// window a seventh of its start-up; these two are read without asking.
// - The menu bar's overflow button, made in the bar's constructor: the bar of a fixed window
//   never overflows, so the button gets the same chevrons drawn instead.
// - The frame of a group box: the same picture, drawn the same way as Fusion draws it.
class ProgramStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (which != SP_ToolBarHorizontalExtensionButton &&
            which != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        QPixmap chevrons(8, 8);
        chevrons.fill(Qt::transparent);
        QPainter painter(&chevrons);
        painter.setPen(widget ? widget->palette().color(QPalette::ButtonText) : Qt::black);
        for (int x : {1, 4})
            painter.drawPolyline(QPolygon({{x, 1}, {x + 2, 3}, {x + 2, 4}, {x, 6}}));
        painter.end();
        if (which == SP_ToolBarVerticalExtensionButton)
            chevrons = chevrons.transformed(QTransform().rotate(90));
        return QIcon(chevrons);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_FrameGroupBox || baseStyle()->name() != QLatin1String("fusion")) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        if (m_groupBoxFrame.isNull()) {
            QImageReader reader(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"),
                "png");
            reader.setAutoDetectImageFormat(false);
            m_groupBoxFrame = QPixmap::fromImage(reader.read());
        }
        // Fusion's own margin above the frame: room for the caption, or a little without one.
        constexpr int below = 3;
        const auto *box = qobject_cast<const QGroupBox *>(widget);
        const int top =
            box && !box->isCheckable() && box->title().isEmpty()
                ? below
                : std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                      below;
        qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                          m_groupBoxFrame);
    }

private:
    mutable QPixmap m_groupBoxFrame;
};

// The tool windows and About are plain widgets; a screen reader should meet each as a window, as it
// meets the main window, and not as an anonymous pane.
QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w || !w->isWindow() || !className.startsWith(QLatin1String("kvadra::")) ||
        qobject_cast<QMainWindow *>(w))
        return nullptr;
    return new QAccessibleWidget(w, w->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                                  : QAccessible::Window);
}
} // namespace

QString applicationTitle()
{
    return QStringLiteral("Kvadra");
}

QFont programFont()
{
    // Arial metrics come closest to the classic dialog face the layout figures were made for;
    // where Liberation Sans is missing, the style hint picks the system sans-serif.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(false);
    return font;
}

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QString::fromLatin1(versionString));
    // Ties the windows to the menu entry, which is how Wayland desktops find their icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(applicationId));
    // Whatever style the desktop or -style chose.
    QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
    QApplication::setFont(programFont());
    // Fusion keeps each control face it paints under a name made from the palette's serial
    // number, and every new window gives the controls of its coloured frames new palettes, so no
    // face is ever found again once its window has closed. Qt 6.4 keeps the name of every face it
    // evicts, even after a clear: over a long session the names alone grew by 1 MiB per 10,000
    // actions. Drawn afresh each time, a face costs microseconds and leaves nothing behind.
    QPixmapCache::setCacheLimit(0);
    app.setWindowIcon(programIcon());
    app.installEventFilter(new EnterPressesFocusedButton(&app));
    QAccessible::installFactory(windowAccessible);
}

} // namespace kvadra
