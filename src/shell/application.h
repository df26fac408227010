#pragma once

#include <QString>

class QApplication;
class QFont;

namespace kvadra
{

// "Kvadra": window captions and every message box title use it.
QString applicationTitle();

// The program's 8.25-point sans-serif face, regular.
QFont programFont();

// Name, version, face, the program icon and the program's key handling, set once before any
// window exists.
void setUpApplication(QApplication &app);

} // namespace kvadra
