#include "exercise/networkrequest.h"

#include "exercise/netlisttext.h"

#include <QRegularExpression>
#include <QSet>

namespace kvadra
{

namespace
{
// The core works formulas out for at most this many symbols.
constexpr int symbolLimit = 24;

bool isZero(const QString &value)
{
    // The digits before any exponent: a zero has none but 0.
    const QString mantissa = value.section(QRegularExpression(QStringLiteral("[eE]")), 0, 0);
    return !mantissa.contains(QRegularExpression(QStringLiteral("[1-9]")));
}

bool canBeSymbol(const QString &name)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return word.match(name).hasMatch();
}
} // namespace

circuit::Request symbolicRequest(const QString &text, const circuit::Report &read,
                                 const UnitPowers &units)
{
    circuit::Request request{text, {}, units, false};
    const NetlistText net = readNetlistText(text);
    QSet<QString> taken;
    for (const QString &s : read.symbols)
        taken.insert(s.toLower());
    QList<std::pair<const NetElement *, bool>> numbers; // and whether a conductance
    for (const circuit::ElementInfo &info : read.elements) {
        if (!info.symbol.isEmpty() || info.valueText.isEmpty() || info.kind == QLatin1Char('V') ||
            info.kind == QLatin1Char('P') || isZero(info.valueText) || !canBeSymbol(info.name) ||
            taken.contains(info.name.toLower()))
            continue;
        for (const NetElement &e : net.elements)
            if (e.line == info.line - 1 && e.name == info.name && e.value == info.valueText)
                numbers.append({&e, info.conductance});
    }
    if (numbers.isEmpty() || read.symbols.size() + numbers.size() > symbolLimit)
        return request;
    QStringList lines = net.lines;
    for (const auto &[e, conductance] : std::as_const(numbers)) {
        lines[e->line].replace(e->valueAt, e->value.size(),
                               conductance ? e->name + QStringLiteral(" S") : e->name);
        request.values.insert(e->name, e->value);
    }
    request.netlist = lines.join(QLatin1Char('\n'));
    return request;
}

} // namespace kvadra
