#pragma once

#include <QIcon>

namespace kvadra
{

// The program icon shared by every window, 24 x 24 logical pixels, drawn afresh for whatever
// size it is asked for.
QIcon programIcon();

} // namespace kvadra
