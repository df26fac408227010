#pragma once

#include "exercise/networkdrawing.h"

namespace kvadra
{

// The drawing as a LaTeX circuitikz picture, element for element and wire for wire, one grid
// step half a centimetre; a comment line names the package it needs.
QString circuitikz(const Drawing &drawing);

} // namespace kvadra
