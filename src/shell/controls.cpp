#include "shell/controls.h"

#include "shell/application.h"
#include "shell/resultbox.h"

#include <QCheckBox>
#include <QGroupBox>
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
