#include "shell/application.h"

#include "resources/pictures.h"
#include "version.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>

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
    QApplication::setFont(programFont());
    app.setWindowIcon(programIcon());
    app.installEventFilter(new EnterPressesFocusedButton(&app));
    QAccessible::installFactory(windowAccessible);
}

} // namespace kvadra
