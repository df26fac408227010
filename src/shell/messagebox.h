#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace kvadra
{

// The three kinds of box the program shows; the values are the classic style numbers.
enum class BoxStyle {
    YesNo = 4,          // Yes and No, no icon, Yes the default
    OkExclamation = 48, // OK with the warning icon
    OkInformation = 64, // OK with the information icon
};

// Shows a modal box titled with the application title and waits for the answer inside the
// calling handler. Returns the button pressed (Yes, No or Ok).
QMessageBox::StandardButton messageBox(QWidget *parent, const QString &text, BoxStyle style);

// The one message both calculators give for unreadable input or an arithmetic fault.
void showInputError(QWidget *parent);

} // namespace kvadra
