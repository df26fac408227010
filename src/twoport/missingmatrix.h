#pragma once

#include "twoport/catalogue.h"

#include <QStringList>

namespace kvadra
{

// Why a schematic has no Z (or no Y) matrix, in plain sentences: the physics, then the algebra.
// Empty when it has one.
QStringList missingMatrixReason(const Schematic &schematic, bool z);

} // namespace kvadra
