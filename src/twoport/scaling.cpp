#include "twoport/scaling.h"

#include "twoport/calcerror.h"

#include <cmath>

namespace kvadra
{

namespace
{
// The general power function, not a table: pow(10.0, -3.0) is the double nearest 0.001, which
// is what every stored result has been scaled with.
double scaleOf(qint16 power)
{
    return std::pow(10.0, static_cast<double>(power));
}
} // namespace

double scaleToBase(double x, qint16 power)
{
    return checked(x * scaleOf(power));
}

double scaleFromBase(double x, qint16 power)
{
    return checked(x / scaleOf(power));
}

} // namespace kvadra
