#include "shell/messagebox.h"

#include "shell/application.h"

namespace kvadra
{

QMessageBox::StandardButton messageBox(QWidget *parent, const QString &text, BoxStyle style)
{
    QMessageBox box(parent);
    box.setFont(programFont());
    box.setWindowTitle(applicationTitle());
    box.setText(text);
    switch (style) {
    case BoxStyle::YesNo:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case BoxStyle::OkExclamation:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxStyle::OkInformation:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const int answer = box.exec();
    // Closing a Yes/No box by its close box or Escape counts as No, as the user declined.
    if (answer != QMessageBox::Yes && answer != QMessageBox::No && answer != QMessageBox::Ok)
        return style == BoxStyle::YesNo ? QMessageBox::No : QMessageBox::Ok;
    return static_cast<QMessageBox::StandardButton>(answer);
}

void showInputError(QWidget *parent)
{
    messageBox(parent, QStringLiteral("An error occured! Check your input data."),
               BoxStyle::OkExclamation);
}

} // namespace kvadra
