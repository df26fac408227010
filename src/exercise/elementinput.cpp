#include "exercise/elementinput.h"

#include "twoport/numbertext.h"

namespace kvadra
{

circuit::Request coreRequest(const ElementInput &input, const circuit::Engine &engine,
                             bool numericOnly)
{
    const Schematic &s = *input.schematic;
    const bool resistances = s.family == Family::Resistance;
    circuit::Request request;
    request.netlist = engine.schematicNetlist(s.number);
    request.units = input.units;
    request.numericOnly = numericOnly;
    const int power = resistances ? input.units.ohm : input.units.siemens;
    for (int k = 0; k < 3; ++k) {
        if (!s.hasElement(k + 1))
            continue;
        const TypedNumber typed = readTypedNumber(input.texts[size_t(k)]);
        // In base units, ohm or siemens: the display unit is a power of ten away.
        request.values.insert(
            (resistances ? QStringLiteral("R%1") : QStringLiteral("G%1")).arg(k + 1),
            (typed.negative ? QStringLiteral("-") : QString()) + typed.digits +
                QStringLiteral("e") + QString::number(typed.exponent + power));
    }
    return request;
}

std::optional<QString> shortFraction(const circuit::Exact &entry)
{
    const qsizetype slash = entry.exact.indexOf(QLatin1Char('/'));
    if (!entry.known || slash < 0)
        return std::nullopt;
    const qsizetype sign = entry.exact.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (slash - sign > 6 || entry.exact.size() - slash - 1 > 6)
        return std::nullopt;
    return entry.exact;
}

} // namespace kvadra
