#pragma once

// `kvadra --parameters ...`. Internal to the circuit core.

#include "circuit/engine.h"

namespace kvadra::circuit
{

int runCommandLine(const Engine &engine, const QStringList &args, QTextStream &out,
                   QTextStream &err);

} // namespace kvadra::circuit
