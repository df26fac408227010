#include "shell/widgets.h"

#include "shell/application.h"
#include "shell/resultbox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>

namespace kvadra
{

namespace
{
template <typename W> W *place(W *widget, const char *name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    // A frame's bold face would otherwise pass down to its contents.
    if (widget->parentWidget() && !qobject_cast<QGroupBox *>(widget))
        widget->setFont(programFont());
    return widget;
}
} // namespace

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, int x, int y, int w,
                     int h)
{
    auto *frame = place(new QGroupBox(parent), name, x, y, w, h);
    setFrameCaption(frame, caption);
    makeBold(frame);
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

ResultBox *makeResult(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    return place(new ResultBox(parent), name, x, y, w, h);
}

QString parameterButtonName(const QString &parameter)
{
    return QStringLiteral("btn") + parameter.toUpper();
}

std::array<QPushButton *, 4> makeButtonGrid(QGroupBox *frame,
                                            const std::array<QString, 4> &parameters,
                                            const std::function<void(int)> &onClick)
{
    const int left[2] = {120, 720}, top[2] = {360, 960};
    std::array<QPushButton *, 4> buttons{};
    for (int i = 0; i < 4; ++i) {
        const QString &parameter = parameters[size_t(i)];
        QPushButton *b = makeButton(frame, qPrintable(parameterButtonName(parameter)), parameter,
                                    tw(left[i % 2]), tw(top[i / 2]), tw(495), tw(495));
        QObject::connect(b, &QPushButton::clicked, frame, [onClick, i] { onClick(i); });
        buttons[size_t(i)] = b;
    }
    return buttons;
}

void setUpWindow(QWidget *window, bool fixedBorder, bool minimizeBox, bool dialog)
{
    window->setFont(programFont());
    Qt::WindowFlags flags = (dialog ? Qt::Dialog : Qt::Window) | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimizeBox && !dialog)
        flags |= Qt::WindowMinimizeButtonHint;
    if (fixedBorder)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    window->setWindowFlags(flags);
}

void setFixedWindow(QWidget *window, int clientWidth, int clientHeight, bool minimizeBox)
{
    setUpWindow(window, true, minimizeBox);
    window->setFixedSize(clientWidth, clientHeight);
}

QColor matrixColour(ParameterSet set)
{
    switch (set) {
    case ParameterSet::Z:
        return QColor(192, 255, 255);
    case ParameterSet::Y:
        return QColor(255, 255, 192);
    case ParameterSet::H:
        return QColor(255, 192, 192);
    case ParameterSet::ABCD:
        return QColor(192, 255, 192);
    case ParameterSet::G:
        break;
    }
    return Qt::white;
}

void setFrameCaption(QGroupBox *frame, const QString &caption)
{
    frame->setTitle(caption);
    frame->setAccessibleName(caption);
}

void makeBold(QWidget *widget)
{
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
}

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
    // Greyed text stays as grey as the light palette draws it.
    const QPalette light = QApplication::style()->standardPalette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::WindowText, light.color(group, QPalette::WindowText));
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void explain(QWidget *widget, const QString &text)
{
    widget->setToolTip(text);
    widget->setAccessibleDescription(text);
    // Shift+F1 shows it from the keyboard.
    widget->setWhatsThis(text);
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

QList<QAction *> addCopyActions(QWidget *area, const std::function<QString(bool latex)> &text)
{
    auto *copyText = new QAction(QStringLiteral("Copy results"), area);
    copyText->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyText->setShortcutContext(Qt::WindowShortcut);
    auto *copyLatex = new QAction(QStringLiteral("Copy as LaTeX"), area);
    area->addActions({copyText, copyLatex});
    area->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction *action : {copyText, copyLatex}) {
        const bool latex = action == copyLatex;
        QObject::connect(action, &QAction::triggered, area, [text, latex] {
            const QString copied = text(latex);
            if (!copied.isEmpty())
                QApplication::clipboard()->setText(copied);
        });
    }
    return {copyText, copyLatex};
}

void fitTextToWidth(QLabel *label)
{
    QFont font = label->font();
    qreal spacing = 0;
    while (label->sizeHint().width() > label->width() && spacing > -0.3) {
        spacing -= 0.05;
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        label->setFont(font);
    }
}

} // namespace kvadra
