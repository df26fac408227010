#pragma once

#include <QtGlobal>

namespace kvadra
{

// A unit power p means the display unit is 10^p times the base unit (ohm, siemens, volt, ampere).
// Callers pass the power as the shared state holds it at the moment of the call.
// Into the base unit: x * 10^p. Out of it: x / 10^p, never x * 10^-p, because the two differ in
// the last bit for p = 3 and the test solver compares stored results bit for bit.
double scaleToBase(double x, qint16 power);
double scaleFromBase(double x, qint16 power);

inline double ohmToBase(double x, qint16 ohmDisplay)
{
    return scaleToBase(x, ohmDisplay);
}
inline double siemensToBase(double x, qint16 siemensDisplay)
{
    return scaleToBase(x, siemensDisplay);
}
inline double voltToBase(double x, qint16 voltDisplay)
{
    return scaleToBase(x, voltDisplay);
}
inline double ampereToBase(double x, qint16 ampereDisplay)
{
    return scaleToBase(x, ampereDisplay);
}
inline double ohmFromBase(double x, qint16 ohmDisplay)
{
    return scaleFromBase(x, ohmDisplay);
}
inline double siemensFromBase(double x, qint16 siemensDisplay)
{
    return scaleFromBase(x, siemensDisplay);
}

} // namespace kvadra
