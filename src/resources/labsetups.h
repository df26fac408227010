#pragma once

// Private to the pictures library: what each measurement set-up puts at the two ports.

#include <QString>

namespace kvadra::drawing
{

enum class Port {
    Open,
    Shorted,
    CurrentSource,
    VoltageSource,
    Voltmeter,
    AmmeterUp,                    // straight across the terminals, current into the port
    AmmeterDown,                  // straight across the terminals, current out of the port
    CurrentSourceAndVoltmeter,    // in parallel, the source outermost
    VoltageSourceAndSeriesAmmeter // the ammeter in the upper wire
};

struct Setup {
    Port port1;
    Port port2;
};

// The set-up of a parameter by its upper-case name ("Z11", "A"), or nullptr.
const Setup *findSetup(const QString &parameter);

} // namespace kvadra::drawing
