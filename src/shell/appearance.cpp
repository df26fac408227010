#include "shell/appearance.h"

#include "shell/application.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

namespace kvadra
{

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

} // namespace kvadra
