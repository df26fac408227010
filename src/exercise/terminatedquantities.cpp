#include "exercise/terminatedquantities.h"

#include <algorithm>

namespace kvadra
{

namespace
{
constexpr std::array<TerminatedQuantity, 7> quantities{{
    {"Zin", Quantity::Resistance, "input impedance: V1/I1 with ZL at port 2", "Z_{\\mathrm{in}}"},
    {"Zout", Quantity::Resistance,
     "output impedance: V2/I2 seen into port 2 with the source zeroed and Zs at port 1 (the "
     "Thevenin impedance)",
     "Z_{\\mathrm{out}}"},
    {"Av", Quantity::None, "voltage gain: V2/V1 with ZL at port 2", "A_{v}"},
    {"Avs", Quantity::None, "voltage gain from the source: V2/Vs", "A_{vs}"},
    {"Ai", Quantity::None, "current gain: IL/I1, IL = −I2 the current into the load", "A_{i}"},
    {"Vth", Quantity::None, "Thevenin voltage: the open-circuit V2 per volt of Vs",
     "V_{\\mathrm{th}}"},
    {"P", Quantity::Conductance, "the power into the load per volt² of Vs", "P"},
}};

} // namespace

const std::array<TerminatedQuantity, 7> &terminatedQuantities()
{
    return quantities;
}

QString terminatedUnit(int quantity, const UnitPowers &units)
{
    const Quantity kind = quantities[size_t(quantity)].kind;
    // The same number as in siemens, written as what it is: a power per volt² of the source.
    if (kind == Quantity::Conductance)
        return unitPrefix(units.siemens) + QStringLiteral("W/V²");
    return displayUnit(kind, units);
}

QString copyTerminated(const circuit::Terminated &result, const QString &zs, const QString &zl,
                       const UnitPowers &units, CopyFlavour flavour)
{
    CopyText copy(flavour);
    copy.note(QStringLiteral("Source impedance Zs = %1, load ZL = %2 (netlist values, in ohm)")
                  .arg(zs, zl));
    QList<NamedValue> known;
    for (int q = 0; q < int(quantities.size()); ++q) {
        const QString name = QLatin1String(quantities[size_t(q)].name);
        // latexSymbol leaves a name that does not end in digits as it is.
        const QString symbol = copy.latex() ? QString::fromUtf8(quantities[size_t(q)].latex) : name;
        const auto it = std::find_if(result.quantities.cbegin(), result.quantities.cend(),
                                     [&](const auto &p) { return p.first == name; });
        if (it == result.quantities.cend() || !it->second) {
            copy.note(result.missing.value(name, name + QStringLiteral(": none")));
        } else if (it->second->known) {
            QString unit = terminatedUnit(q, units);
            if (copy.latex())
                unit.replace(QStringLiteral("²"), QStringLiteral("^2"));
            known.append({symbol, it->second->decimal, unit});
        } else if (copy.latex()) {
            copy.line(QStringLiteral("\\[ ") + symbol + QStringLiteral(" = ") +
                      it->second->formulaLatex + QStringLiteral(" \\]"));
        } else {
            copy.line(name + QStringLiteral(" = ") + it->second->formula);
        }
    }
    if (!known.isEmpty())
        copy.values(known, QStringLiteral("\n"));
    return copy.text();
}

} // namespace kvadra
