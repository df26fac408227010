#include "shell/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kvadra
{

namespace
{
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
    auto *frame = place(new QGroupBox(caption, parent), name, x, y, w, h);
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
    // Measuring the text costs more than building the rest of its window, and the window is
    // built anew each time it opens; the answer only changes with the text, face and width.
    static QHash<QString, qreal> spacings;
    QFont font = label->font();
    const QString key =
        QStringLiteral("%1/%2/").arg(font.key()).arg(label->width()) + label->text();
    auto known = spacings.constFind(key);
    if (known == spacings.constEnd()) {
        qreal spacing = 0;
        while (label->sizeHint().width() > label->width() && spacing > -0.3) {
            spacing -= 0.05;
            font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            label->setFont(font);
        }
        known = spacings.insert(key, spacing);
    }
    if (*known != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, *known);
        label->setFont(font);
    }
}

} // namespace kvadra
