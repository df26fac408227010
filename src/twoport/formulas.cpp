#include "twoport/formulas.h"

#include "twoport/calcerror.h"
#include "twoport/scaling.h"

namespace kvadra
{

namespace
{
Matrix fromBase(const Matrix &base, double (*convert)(double, qint16), qint16 power)
{
    return {convert(base[0], power), convert(base[1], power), convert(base[2], power),
            convert(base[3], power)};
}
} // namespace

Matrix yFromConductances(double g1, double g2, double g3, qint16 siemensDisplay)
{
    g1 = siemensToBase(g1, siemensDisplay);
    g2 = siemensToBase(g2, siemensDisplay);
    g3 = siemensToBase(g3, siemensDisplay);
    const Matrix y{checked(g1 + g2), checked(-g2), checked(-g2), checked(g3 + g2)};
    return fromBase(y, siemensFromBase, siemensDisplay);
}

Matrix zFromConductances(double g1, double g2, double g3, qint16 siemensDisplay, qint16 ohmDisplay)
{
    g1 = siemensToBase(g1, siemensDisplay);
    g2 = siemensToBase(g2, siemensDisplay);
    g3 = siemensToBase(g3, siemensDisplay);
    const double det = checked(checked(checked(g3 * g1) + checked(g1 * g2)) + checked(g3 * g2));
    const Matrix z{checked(checked(g3 + g2) / det), checked(g2 / det), checked(g2 / det),
                   checked(checked(g1 + g2) / det)};
    return fromBase(z, ohmFromBase, ohmDisplay);
}

Matrix zFromResistances(double r1, double r2, double r3, qint16 ohmDisplay)
{
    r1 = ohmToBase(r1, ohmDisplay);
    r2 = ohmToBase(r2, ohmDisplay);
    r3 = ohmToBase(r3, ohmDisplay);
    const Matrix z{checked(r1 + r2), checked(r2), checked(r2), checked(r3 + r2)};
    return fromBase(z, ohmFromBase, ohmDisplay);
}

Matrix yFromResistances(double r1, double r2, double r3, qint16 ohmDisplay, qint16 siemensDisplay)
{
    r1 = ohmToBase(r1, ohmDisplay);
    r2 = ohmToBase(r2, ohmDisplay);
    r3 = ohmToBase(r3, ohmDisplay);
    const double det = checked(checked(checked(r3 * r1) + checked(r1 * r2)) + checked(r3 * r2));
    const Matrix y{checked(checked(r3 + r2) / det), checked(-checked(r2 / det)),
                   checked(-checked(r2 / det)), checked(checked(r1 + r2) / det)};
    return fromBase(y, siemensFromBase, siemensDisplay);
}

} // namespace kvadra
