#pragma once

#include <QString>

class QApplication;

namespace kvadra
{

// "Kvadra": window captions and every message box title use it.
QString applicationTitle();

// Name, version, the 8.25-point sans-serif face and the program icon, set once before any
// window exists.
void setUpApplication(QApplication &app);

} // namespace kvadra
