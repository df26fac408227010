#include "lab/labformula.h"

#include "twoport/calcerror.h"
#include "twoport/scaling.h"

namespace kvadra
{

const std::array<LabParameter, 16> &labParameters()
{
    using Q = Quantity;
    static const std::array<LabParameter, 16> table{{
        {"btnZ11", "z11", "V1", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"btnZ12", "z12", "V1", Q::Voltage, "I2", Q::Current, Q::Resistance, 1},
        {"btnZ21", "z21", "V2", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"btnZ22", "z22", "V2", Q::Voltage, "I2", Q::Current, Q::Resistance, 1},
        {"btnY11", "y11", "I1", Q::Current, "V1", Q::Voltage, Q::Conductance, 2},
        {"btnY12", "y12", "I1", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"btnY21", "y21", "I2", Q::Current, "V1", Q::Voltage, Q::Conductance, 2},
        {"btnY22", "y22", "I2", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"btnH11", "h11", "V1", Q::Voltage, "I1", Q::Current, Q::Resistance, 1},
        {"btnH12", "h12", "V1", Q::Voltage, "V2", Q::Voltage, Q::None, 3},
        {"btnH21", "h21", "I1", Q::Current, "I2", Q::Current, Q::None, 4},
        {"btnH22", "h22", "I2", Q::Current, "V2", Q::Voltage, Q::Conductance, 2},
        {"btnA", "A", "V1", Q::Voltage, "V2", Q::Voltage, Q::None, 5},
        {"btnB", "B", "V1", Q::Voltage, "I2", Q::Current, Q::None, 6},
        {"btnC", "C", "I1", Q::Current, "V2", Q::Voltage, Q::None, 7},
        {"btnD", "D", "I1", Q::Current, "I2", Q::Current, Q::None, 8},
    }};
    return table;
}

QString baseUnit(Quantity q)
{
    switch (q) {
    case Quantity::Voltage:
        return QStringLiteral("V");
    case Quantity::Current:
        return QStringLiteral("A");
    case Quantity::Resistance:
        return QStringLiteral("Ohm");
    case Quantity::Conductance:
        return QStringLiteral("S");
    case Quantity::None:
        break;
    }
    return QString();
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

} // namespace kvadra
