#include "twoport/explain.h"

#include "twoport/copytext.h"
#include "twoport/numbertext.h"
#include "twoport/units.h"

#include <functional>

namespace kvadra
{

namespace
{
QString letter(const Schematic &s)
{
    return s.family == Family::Resistance ? QStringLiteral("R") : QStringLiteral("G");
}

QString element(const Schematic &s, int k)
{
    return letter(s) + QString::number(k);
}

// The right-hand side of an entry, with element names or with values.
QString entryExpression(const EntryFormula &f, const std::function<QString(int)> &term,
                        const QString &delta)
{
    QString numerator = term(f.first);
    if (f.second != 0)
        numerator += QStringLiteral(" + ") + term(f.second);
    QString expr = numerator;
    if (f.overDeterminant)
        expr = (f.second != 0 ? QLatin1Char('(') + numerator + QLatin1Char(')') : numerator) +
               QStringLiteral(" / ") + delta;
    if (f.negate)
        expr = f.overDeterminant ? QStringLiteral("−(") + expr + QLatin1Char(')')
                                 : QStringLiteral("−") + expr;
    return expr;
}
} // namespace

QString equationChain(const QStringList &steps)
{
    QStringList kept;
    for (const QString &step : steps)
        if (kept.isEmpty() || kept.constLast() != step)
            kept << step;
    return kept.join(QStringLiteral(" = "));
}

QString resultHeadline(const QString &entry, const QString &shown, const QString &unit,
                       const std::optional<QString> &fraction)
{
    QString line = withUnit(entry + QStringLiteral(" = ") + shown, unit);
    if (fraction)
        line += QStringLiteral(" = ") + withUnit(*fraction, unit);
    return line;
}

QString explainEntry(const Calculation &c, Procedure procedure, const ProcedureTrace &trace,
                     int entry)
{
    const Schematic &s = *c.schematic;
    const bool z = givesZ(procedure);
    const QString elementBase = takesResistances(procedure) ? baseUnit(Quantity::Resistance)
                                                            : baseUnit(Quantity::Conductance);
    const QString resultBase = z ? baseUnit(Quantity::Resistance) : baseUnit(Quantity::Conductance);
    const QString resultUnit = z ? c.zUnit : c.yUnit;
    auto base = [&](int k) {
        return withUnit(writeNumber(trace.elements[size_t(k - 1)]), elementBase);
    };

    QStringList lines;
    // The formulas work in base units; the values typed in another unit are converted first.
    if (c.elementUnit != elementBase) {
        QStringList converted;
        for (int k = 1; k <= 3; ++k)
            if (s.hasElement(k))
                converted << element(s, k) + QStringLiteral(" = ") +
                                 withUnit(writeNumber(c.values[size_t(k - 1)]), c.elementUnit) +
                                 QStringLiteral(" = ") + base(k);
        if (!converted.isEmpty())
            lines << converted.join(QStringLiteral(", "));
    }
    const ProcedureFormula &formula = procedureFormula(procedure);
    QString delta = QStringLiteral("Δ");
    if (formula.inverse) {
        const QString squared = elementBase + QStringLiteral("²");
        delta = withUnit(writeNumber(trace.det), squared);
        lines << QStringLiteral("Δ = %1·%2 + %2·%3 + %1·%3 = %4 + %5 + %6 = %7")
                     .arg(element(s, 3), element(s, 1), element(s, 2),
                          writeNumber(trace.products[0]), writeNumber(trace.products[1]),
                          writeNumber(trace.products[2]), delta);
    }
    const EntryFormula &f = formula.entries[size_t(entry)];
    const QString line =
        equationChain({entryName(z ? ParameterSet::Z : ParameterSet::Y, entry),
                       entryExpression(
                           f, [&s](int k) { return element(s, k); }, QStringLiteral("Δ")),
                       entryExpression(f, base, delta),
                       withUnit(writeNumber(trace.base[size_t(entry)]), resultBase),
                       withUnit(writeNumber(trace.out[size_t(entry)]), resultUnit)});
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

QList<NamedValue> elementValueList(const Schematic &schematic, const std::array<double, 3> &values,
                                   const QString &unit)
{
    QList<NamedValue> list;
    for (int k = 1; k <= 3; ++k)
        if (schematic.hasElement(k))
            list << NamedValue{element(schematic, k), values[size_t(k - 1)], unit};
    return list;
}

QString elementValues(const Schematic &schematic, const std::array<double, 3> &values,
                      const QString &unit)
{
    return CopyText(CopyFlavour::Text)
        .valuesInline(elementValueList(schematic, values, unit), QStringLiteral(", "));
}

} // namespace kvadra
