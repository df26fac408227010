#include "lab/labformula.h"

#include "twoport/calcerror.h"
#include "twoport/copytext.h"
#include "twoport/explain.h"
#include "twoport/numbertext.h"
#include "twoport/scaling.h"

namespace kvadra
{

QString labPictureName(const QString &parameter)
{
    return QStringLiteral("LAB") + parameter.toUpper();
}

QString LabParameter::pictureName() const
{
    return labPictureName(QLatin1String(name));
}

const std::array<LabParameter, 16> &labParameters()
{
    using Q = Quantity;
    static const std::array<LabParameter, 16> table{{
        {"z11", "V1", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"z12", "V1", Q::Voltage, "I2", Q::Current, Q::Resistance, 1},
        {"z21", "V2", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"z22", "V2", Q::Voltage, "I2", Q::Current, Q::Resistance, 1},
        {"y11", "I1", Q::Current, "V1", Q::Voltage, Q::Conductance, 2},
        {"y12", "I1", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"y21", "I2", Q::Current, "V1", Q::Voltage, Q::Conductance, 2},
        {"y22", "I2", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"h11", "V1", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"h12", "V1", Q::Voltage, "V2", Q::Voltage, Q::None, 3},
        {"h21", "I1", Q::Current, "I2", Q::Current, Q::None, 4},
        {"h22", "I2", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"A", "V1", Q::Voltage, "V2", Q::Voltage, Q::None, 5},
        {"B", "V1", Q::Voltage, "I2", Q::Current, Q::None, 6},
        {"C", "I1", Q::Current, "V2", Q::Voltage, Q::None, 7},
        {"D", "I1", Q::Current, "I2", Q::Current, Q::None, 8},
    }};
    return table;
}

std::optional<double> labValue(qint16 equation, double m1, double m2, const UnitPowers &u)
{
    switch (equation) {
    case 1: {
        const double v = voltToBase(m1, u.volt);
        return ohmFromBase(checked(v / ampereToBase(m2, u.ampere)), u.ohm);
    }
    case 2: {
        const double i = ampereToBase(m1, u.ampere);
        return siemensFromBase(checked(i / voltToBase(m2, u.volt)), u.siemens);
    }
    case 3:
    case 5: {
        const double v1 = voltToBase(m1, u.volt);
        return checked(v1 / voltToBase(m2, u.volt));
    }
    case 4: {
        // Current gain: the second reading over the first.
        const double i1 = ampereToBase(m1, u.ampere);
        return checked(ampereToBase(m2, u.ampere) / i1);
    }
    case 6: {
        const double v1 = voltToBase(m1, u.volt);
        return checked(v1 / ampereToBase(m2, u.ampere));
    }
    case 7: {
        const double i1 = ampereToBase(m1, u.ampere);
        return checked(i1 / voltToBase(m2, u.volt));
    }
    case 8: {
        const double i1 = ampereToBase(m1, u.ampere);
        return checked(i1 / ampereToBase(m2, u.ampere));
    }
    default:
        return std::nullopt;
    }
}

QString labSignWarning(qint16 equation, const QString &curLabParam, double shown)
{
    const QString positive = QStringLiteral("POSITIVE"), negative = QStringLiteral("NEGATIVE");
    switch (equation) {
    case 2:
        if (curLabParam == QLatin1String("y11") || curLabParam == QLatin1String("y22") ||
            curLabParam == QLatin1String("h22"))
            return shown < 0 ? positive : QString();
        if (curLabParam == QLatin1String("y12") || curLabParam == QLatin1String("y21"))
            return shown > 0 ? negative : QString();
        return QString();
    case 4:
        return shown > 0 ? negative : QString();
    case 1:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
        return shown < 0 ? positive : QString();
    default:
        return QString();
    }
}

const LabParameter *labParameter(const QString &name)
{
    for (const LabParameter &p : labParameters())
        if (name == QLatin1String(p.name))
            return &p;
    return nullptr;
}

QString answerUnit(const LabParameter &p, const UnitPowers &units)
{
    if (p.equation == 6)
        return QStringLiteral("Ohm");
    if (p.equation == 7)
        return QStringLiteral("S");
    return displayUnit(p.unit, units);
}

QString labExplanation(const LabParameter &p, double m1, double m2, const UnitPowers &u,
                       const QString &shown)
{
    // h21 is the only one read as the second reading over the first.
    const bool swapped = p.equation == 4;
    const QString top = QLatin1String(swapped ? p.meas2Name : p.meas1Name);
    const QString bottom = QLatin1String(swapped ? p.meas1Name : p.meas2Name);
    const double a = swapped ? m2 : m1, b = swapped ? m1 : m2;
    const Quantity qa = swapped ? p.meas2 : p.meas1, qb = swapped ? p.meas1 : p.meas2;
    auto quotient = [&](qint16 pa, qint16 pb, const QString &ua, const QString &ub) {
        return withUnit(writeNumber(scaleToBase(a, pa)), ua) + QStringLiteral(" / ") +
               withUnit(writeNumber(scaleToBase(b, pb)), ub);
    };
    QStringList steps{QLatin1String(p.name), top + QStringLiteral(" / ") + bottom,
                      quotient(0, 0, displayUnit(qa, u), displayUnit(qb, u))};
    // A ratio, and B and C with their fixed units, are reached through the base units.
    if (p.unit == Quantity::None)
        steps << quotient(u.of(qa), u.of(qb), baseUnit(qa), baseUnit(qb));
    steps << withUnit(shown, answerUnit(p, u));
    return equationChain(steps);
}

QString labCopy(const LabReading &r, CopyFlavour flavour)
{
    const LabParameter &p = *r.parameter;
    CopyText copy(flavour);
    const QString parameter = QStringLiteral("Parameter ") + QLatin1String(p.name);
    if (copy.latex())
        copy.note(parameter + QStringLiteral(", no package needed"));
    else
        copy.line(parameter);
    copy.values({{QLatin1String(p.meas1Name), r.m1, displayUnit(p.meas1, r.units)},
                 {QLatin1String(p.meas2Name), r.m2, displayUnit(p.meas2, r.units)},
                 {QLatin1String(p.name), r.answer, answerUnit(p, r.units)}},
                QStringLiteral("\n"));
    return copy.text();
}

} // namespace kvadra
