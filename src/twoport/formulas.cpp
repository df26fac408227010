#include "twoport/formulas.h"

#include "twoport/calcerror.h"
#include "twoport/scaling.h"

namespace kvadra
{

const ProcedureFormula &procedureFormula(Procedure procedure)
{
    // y11 = G1 + G2, y12 = y21 = -G2, y22 = G3 + G2
    static const ProcedureFormula yG{
        false,
        {{{false, 1, 2, false}, {true, 2, 0, false}, {true, 2, 0, false}, {false, 3, 2, false}}}};
    // z11 = (G3 + G2)/Δ, z12 = z21 = G2/Δ, z22 = (G1 + G2)/Δ
    static const ProcedureFormula zG{
        true,
        {{{false, 3, 2, true}, {false, 2, 0, true}, {false, 2, 0, true}, {false, 1, 2, true}}}};
    // z11 = R1 + R2, z12 = z21 = R2, z22 = R3 + R2
    static const ProcedureFormula zR{
        false,
        {{{false, 1, 2, false}, {false, 2, 0, false}, {false, 2, 0, false}, {false, 3, 2, false}}}};
    // y11 = (R3 + R2)/Δ, y12 = y21 = -(R2/Δ), y22 = (R1 + R2)/Δ
    static const ProcedureFormula yR{
        true, {{{false, 3, 2, true}, {true, 2, 0, true}, {true, 2, 0, true}, {false, 1, 2, true}}}};
    switch (procedure) {
    case Procedure::YFromConductances:
        return yG;
    case Procedure::ZFromConductances:
        return zG;
    case Procedure::ZFromResistances:
        return zR;
    case Procedure::YFromResistances:
    case Procedure::None:
        break;
    }
    Q_ASSERT(procedure == Procedure::YFromResistances);
    return yR;
}

bool givesZ(Procedure p)
{
    return p == Procedure::ZFromConductances || p == Procedure::ZFromResistances;
}

bool takesResistances(Procedure p)
{
    return p == Procedure::ZFromResistances || p == Procedure::YFromResistances;
}

Matrix runProcedure(Procedure procedure, double e1, double e2, double e3, qint16 ohmDisplay,
                    qint16 siemensDisplay, ProcedureTrace *trace)
{
    const bool resistances = takesResistances(procedure);
    const auto toBase = resistances ? ohmToBase : siemensToBase;
    const qint16 inPower = resistances ? ohmDisplay : siemensDisplay;
    ProcedureTrace t;
    t.elements = {toBase(e1, inPower), toBase(e2, inPower), toBase(e3, inPower)};
    const double e[4] = {0, t.elements[0], t.elements[1], t.elements[2]};

    const ProcedureFormula &formula = procedureFormula(procedure);
    if (formula.inverse) {
        t.products = {checked(e[3] * e[1]), checked(e[1] * e[2]), checked(e[3] * e[2])};
        t.det = checked(checked(t.products[0] + t.products[1]) + t.products[2]);
    }

    for (size_t i = 0; i < 4; ++i) {
        const EntryFormula &f = formula.entries[i];
        double v = e[f.first];
        if (f.second != 0)
            v = checked(v + e[f.second]);
        if (f.overDeterminant)
            v = checked(v / t.det);
        if (f.negate)
            v = checked(-v);
        t.base[i] = v;
    }

    const bool z = givesZ(procedure);
    const auto fromBase = z ? ohmFromBase : siemensFromBase;
    const qint16 outPower = z ? ohmDisplay : siemensDisplay;
    for (size_t i = 0; i < 4; ++i)
        t.out[i] = fromBase(t.base[i], outPower);
    if (trace)
        *trace = t;
    return t.out;
}

} // namespace kvadra
