// The circuit core as a module the program loads on demand (circuit/loader.h), so that GiNaC
// and CLN are loaded only when a network is first solved.
#include "circuit/engine.h"

extern "C" __attribute__((visibility("default"))) const kvadra::circuit::Engine *
kvadraCircuitEngine()
{
    return &kvadra::circuit::engine();
}
