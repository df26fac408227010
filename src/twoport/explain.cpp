#include "twoport/explain.h"

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

QStringList missingMatrixReason(const Schematic &s, bool z)
{
    if (z ? s.zExists() : s.yExists())
        return {};
    const QString name = QLatin1String(s.name);
    if (name == QLatin1String("G1"))
        return {QStringLiteral("No Z matrix: nothing joins port 2 to the rest of the network, so a "
                               "test current cannot be driven into the open port 2."),
                QStringLiteral("Y = [G1 0; 0 0] is singular and has no inverse.")};
    if (name == QLatin1String("G3"))
        return {QStringLiteral("No Z matrix: nothing joins port 1 to the rest of the network, so a "
                               "test current cannot be driven into the open port 1."),
                QStringLiteral("Y = [0 0; 0 G3] is singular and has no inverse.")};
    if (name == QLatin1String("G2"))
        return {QStringLiteral("No Z matrix: with only the series element G2 there is no path "
                               "from the top line to the bottom line, so a current driven into "
                               "one port with the other open has nowhere to flow."),
                QStringLiteral("Y = G2·[1 −1; −1 1] is singular: its determinant is zero.")};
    if (name == QLatin1String("NONE"))
        return {QStringLiteral("No Z matrix: no element joins any terminals, so both ports stay "
                               "open and no test current can flow."),
                QStringLiteral("Y is the zero matrix, which is singular.")};
    if (name == QLatin1String("R1"))
        return {QStringLiteral("No Y matrix: the middle wire shorts port 2, so no test voltage can "
                               "be applied to it: its current would be unlimited."),
                QStringLiteral("Z = [R1 0; 0 0] is singular and has no inverse.")};
    return {QStringLiteral("No Y matrix: the middle wire shorts port 1, so no test voltage can be "
                           "applied to it: its current would be unlimited."),
            QStringLiteral("Z = [0 0; 0 R3] is singular and has no inverse.")};
}

namespace
{
// The element values a matrix came from, those of the absent elements left out.
QString elementsLine(const CalculatorResults &r, const ComputedMatrix &m, bool latex)
{
    if (!latex)
        return elementValues(*r.schematic, m.elements, r.elementUnit);
    QStringList parts;
    for (int k = 1; k <= 3; ++k)
        if (r.schematic->hasElement(k))
            parts << letter(*r.schematic) + QStringLiteral("_{%1} = ").arg(k) +
                         latexNumber(m.elements[size_t(k - 1)]) + latexUnit(r.elementUnit);
    return parts.join(QStringLiteral(",\\quad "));
}

// Both matrices came from the same values, or only one was computed: one line serves both.
bool oneSetOfValues(const CalculatorResults &r)
{
    return !r.z || !r.y || r.z->elements == r.y->elements;
}
} // namespace

QString elementValues(const Schematic &schematic, const std::array<double, 3> &values,
                      const QString &unit)
{
    QStringList parts;
    for (int k = 1; k <= 3; ++k)
        if (schematic.hasElement(k))
            parts << element(schematic, k) + QStringLiteral(" = ") +
                         withUnit(writeNumber(values[size_t(k - 1)]), unit);
    return parts.join(QStringLiteral(", "));
}

QString summaryText(const CalculatorResults &r)
{
    QString text = QStringLiteral("Schematic ") + QLatin1String(r.schematic->name) + '\n';
    const bool shared = oneSetOfValues(r);
    const std::optional<ComputedMatrix> &any = r.z ? r.z : r.y;
    if (shared && any) {
        const QString elements = elementsLine(r, *any, false);
        if (!elements.isEmpty())
            text += elements + '\n';
    }
    auto matrix = [&](bool z, const std::optional<ComputedMatrix> &m) {
        const ParameterSet set = z ? ParameterSet::Z : ParameterSet::Y;
        QString title = (z ? QStringLiteral("Z parameters (") + r.zUnit
                           : QStringLiteral("Y parameters (") + r.yUnit) +
                        ')';
        if (!(z ? r.schematic->zExists() : r.schematic->yExists())) {
            text += title + QStringLiteral(": does not exist\n");
            return;
        }
        if (!m) {
            text += title + QStringLiteral(": not calculated\n");
            return;
        }
        if (!shared)
            title += QStringLiteral(", from ") + elementsLine(r, *m, false);
        text += title + QStringLiteral(":\n");
        for (int row = 0; row < 2; ++row)
            text +=
                QStringLiteral("  %1 = %2    %3 = %4\n")
                    .arg(entryName(set, 2 * row), writeNumber(m->entries[size_t(2 * row)]),
                         entryName(set, 2 * row + 1), writeNumber(m->entries[size_t(2 * row + 1)]));
    };
    matrix(true, r.z);
    matrix(false, r.y);
    return text;
}

QString summaryLatex(const CalculatorResults &r)
{
    QString text = QStringLiteral("% Schematic ") + QLatin1String(r.schematic->name) + '\n' +
                   QStringLiteral("% Needs \\usepackage{amsmath} for its matrices.\n");
    const bool shared = oneSetOfValues(r);
    const std::optional<ComputedMatrix> &any = r.z ? r.z : r.y;
    if (shared && any) {
        const QString elements = elementsLine(r, *any, true);
        if (!elements.isEmpty())
            text += QStringLiteral("$") + elements + QStringLiteral("$\n");
    }
    auto matrix = [&](bool z, const std::optional<ComputedMatrix> &m) {
        const QString symbol = z ? QStringLiteral("Z") : QStringLiteral("Y");
        if (!(z ? r.schematic->zExists() : r.schematic->yExists())) {
            text += QStringLiteral("% ") + symbol + QStringLiteral(" does not exist\n");
            return;
        }
        if (!m) {
            text += QStringLiteral("% ") + symbol + QStringLiteral(" not calculated\n");
            return;
        }
        if (!shared)
            text += QStringLiteral("\n$") + elementsLine(r, *m, true) + QStringLiteral("$\n");
        QStringList e;
        for (double v : m->entries)
            e << latexNumber(v);
        text += QStringLiteral("\\[ ") + symbol +
                QStringLiteral(" = \\begin{bmatrix} %1 & %2 \\\\ %3 & %4 \\end{bmatrix}")
                    .arg(e[0], e[1], e[2], e[3]) +
                latexUnit(z ? r.zUnit : r.yUnit) + QStringLiteral(" \\]\n");
    };
    matrix(true, r.z);
    matrix(false, r.y);
    return text;
}

} // namespace kvadra
