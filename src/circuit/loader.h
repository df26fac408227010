#pragma once

// The circuit core for the program, which does not link GiNaC: the core is a module loaded the
// first time it is needed. QtCore only.

#include "circuit/engine.h"

class QString;

namespace kvadra::circuit
{

// The core, loaded on the first call and kept: from the file the environment variable
// KVADRA_CIRCUIT_MODULE names (then nowhere else), or else from the running program's directory
// or the installed module directory. Nothing, with the reason in `error`, when it cannot be
// loaded.
const Engine *circuitEngine(QString *error = nullptr);

// `kvadra --parameters ...`: the command line through the loaded core, without any window;
// returns the exit code (1 when the core cannot be loaded).
int runParameters(int argc, char **argv);

} // namespace kvadra::circuit
