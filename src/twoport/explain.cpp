#include "twoport/explain.h"

#include "twoport/formulas.h"
#include "twoport/numbertext.h"
#include "twoport/units.h"

#include <cmath>
#include <functional>

namespace kvadra
{

namespace
{
QString letter(const Schematic &s)
{
    return s.family == Family::Resistance ? QStringLiteral("R") : QStringLiteral("G");
}

QString element(const Calculation &c, int k)
{
    return letter(*c.schematic) + QString::number(k);
}

QString valueOf(const Calculation &c, int k)
{
    return writeNumber(c.values[size_t(k - 1)]) + QLatin1Char(' ') + c.elementUnit;
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

QString entryName(bool z, int entry)
{
    static const char *const suffix[4] = {"11", "12", "21", "22"};
    return QLatin1String(z ? "z" : "y") + QLatin1String(suffix[entry]);
}

QString explainEntry(const Calculation &c, Procedure procedure, int entry, const QString &shown)
{
    const ProcedureFormula &formula = procedureFormula(procedure);
    const bool z = givesZ(procedure);
    QString text;
    QString delta = QStringLiteral("Δ");
    if (formula.inverse) {
        const double *v = c.values.data();
        const double p31 = v[2] * v[0], p12 = v[0] * v[1], p32 = v[2] * v[1];
        const double det = (p31 + p12) + p32;
        const QString squared = c.elementUnit + QStringLiteral("²");
        text = QStringLiteral("Δ = %1·%2 + %2·%3 + %1·%3 = %4 + %5 + %6")
                   .arg(element(c, 3), element(c, 1), element(c, 2), writeNumber(p31),
                        writeNumber(p12), writeNumber(p32));
        if (std::isfinite(det))
            text += QStringLiteral(" = ") + writeNumber(det) + QLatin1Char(' ') + squared;
        text += QLatin1Char('\n');
        delta = std::isfinite(det) ? writeNumber(det) + QLatin1Char(' ') + squared : delta;
    }
    const EntryFormula &f = formula.entries[size_t(entry)];
    const QString names = entryExpression(
        f, [&c](int k) { return element(c, k); }, QStringLiteral("Δ"));
    const QString values = entryExpression(
        f, [&c](int k) { return valueOf(c, k); }, delta);
    text += entryName(z, entry) + QStringLiteral(" = ") + names + QStringLiteral(" = ") + values +
            QStringLiteral(" = ") + shown + QLatin1Char(' ') + (z ? c.zUnit : c.yUnit);
    return text;
}

QString missingMatrixReason(const Schematic &s, bool z)
{
    if (z ? s.zExists() : s.yExists())
        return QString();
    const QString name = QLatin1String(s.name);
    if (name == QLatin1String("G1"))
        return QStringLiteral("No Z matrix: nothing joins port 2 to the rest of the network, so a "
                              "test current cannot be driven into the open port 2; Y = [G1 0; 0 0] "
                              "is singular and has no inverse.");
    if (name == QLatin1String("G3"))
        return QStringLiteral("No Z matrix: nothing joins port 1 to the rest of the network, so a "
                              "test current cannot be driven into the open port 1; Y = [0 0; 0 G3] "
                              "is singular and has no inverse.");
    if (name == QLatin1String("G2"))
        return QStringLiteral("No Z matrix: with only the series element G2 there is no path from "
                              "the top line to the bottom line, so a current driven into one port "
                              "with the other open has nowhere to flow; Y = G2·[1 −1; −1 1] is "
                              "singular (its determinant is zero).");
    if (name == QLatin1String("NONE"))
        return QStringLiteral(
            "No Z matrix: no element joins any terminals, so both ports stay open "
            "and no test current can flow; Y is the zero matrix, which is "
            "singular.");
    if (name == QLatin1String("R1"))
        return QStringLiteral("No Y matrix: the middle wire shorts port 2, so no test voltage can "
                              "be applied to it (its current would be unlimited); Z = [R1 0; 0 0] "
                              "is singular and has no inverse.");
    return QStringLiteral("No Y matrix: the middle wire shorts port 1, so no test voltage can be "
                          "applied to it (its current would be unlimited); Z = [0 0; 0 R3] is "
                          "singular and has no inverse.");
}

namespace
{
QString elementsLine(const Calculation &c, const QString &separator,
                     const std::function<QString(int)> &format)
{
    QStringList parts;
    for (int k = 1; k <= 3 && c.hasValues; ++k)
        if (c.schematic->hasElement(k))
            parts << format(k);
    return parts.join(separator);
}
} // namespace

QString summaryText(const Calculation &c, const QStringList &z, const QStringList &y)
{
    QString text = QStringLiteral("Schematic ") + QLatin1String(c.schematic->name) + '\n';
    const QString elements = elementsLine(c, QStringLiteral(", "), [&c](int k) {
        return element(c, k) + QStringLiteral(" = ") + valueOf(c, k);
    });
    if (!elements.isEmpty())
        text += elements + '\n';
    auto matrix = [&text](const QString &title, bool isZ, const QStringList &m) {
        if (m.isEmpty()) {
            text += title + QStringLiteral(": does not exist\n");
            return;
        }
        text += title + QStringLiteral(":\n");
        for (int row = 0; row < 2; ++row)
            text += QStringLiteral("  %1 = %2    %3 = %4\n")
                        .arg(entryName(isZ, 2 * row), m[2 * row], entryName(isZ, 2 * row + 1),
                             m[2 * row + 1]);
    };
    matrix(QStringLiteral("Z parameters (") + c.zUnit + ')', true, z);
    matrix(QStringLiteral("Y parameters (") + c.yUnit + ')', false, y);
    return text;
}

QString summaryLatex(const Calculation &c, const QStringList &z, const QStringList &y)
{
    QString text = QStringLiteral("% Schematic ") + QLatin1String(c.schematic->name) + '\n';
    const QString elements = elementsLine(c, QStringLiteral(",\\quad "), [&c](int k) {
        return letter(*c.schematic) + QStringLiteral("_") + QString::number(k) +
               QStringLiteral(" = ") + writeNumber(c.values[size_t(k - 1)]) +
               latexUnit(c.elementUnit);
    });
    if (!elements.isEmpty())
        text += QStringLiteral("$") + elements + QStringLiteral("$\n\n");
    auto matrix = [&text](const char *symbol, const QString &unit, const QStringList &m) {
        if (m.isEmpty()) {
            text +=
                QStringLiteral("% ") + QLatin1String(symbol) + QStringLiteral(" does not exist\n");
            return;
        }
        text += QStringLiteral("\\[ ") + QLatin1String(symbol) +
                QStringLiteral(" = \\begin{bmatrix} %1 & %2 \\\\ %3 & %4 \\end{bmatrix}")
                    .arg(m[0], m[1], m[2], m[3]) +
                latexUnit(unit) + QStringLiteral(" \\]\n");
    };
    matrix("Z", c.zUnit, z);
    matrix("Y", c.yUnit, y);
    return text;
}

} // namespace kvadra
