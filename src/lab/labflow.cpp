// The main window's part in the lab helper: its "Lab helper" button and the check of the two
// measurement texts.
#include "lab/labselectelement.h"
#include "shell/messagebox.h"
#include "shell/twoportmain.h"

namespace kvadra
{

void TwoportMain::onLab()
{
    m_windows.show<LabSelectElement>();
}

void TwoportMain::checkInput(const QString &val1, const QString &val2)
{
    const QString first = val1.toUpper();
    const QString second = val2.toUpper();
    if (first == QLatin1String("EASTER") && second == QLatin1String("EGG"))
        messageBox(this, QStringLiteral("Yes, it is."), BoxStyle::OkInformation);
    if (first == QLatin1String("BRUMO") && second == QLatin1String("TISK"))
        messageBox(this, QStringLiteral("God be with ye :-)"), BoxStyle::OkExclamation);
}

} // namespace kvadra
