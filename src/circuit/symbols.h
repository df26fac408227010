#pragma once

// The symbols of a network and how exact values and formulas in them are written. Internal to
// the circuit core.

#include <QHash>
#include <QString>
#include <QStringList>

#include <ginac/ex.h>
#include <ginac/numeric.h>
#include <ginac/symbol.h>

#include <map>
#include <memory>
#include <vector>

namespace kvadra::circuit
{

// "R1" -> "R_{1}", "h21" -> "h_{21}", "mu" -> "\mu", "gm" -> "g_{m}", "R_load" -> "R_{load}".
QString latexName(const QString &name);

// One symbol per name, created with its LaTeX name, in the order first asked for; shared by
// everything that must compare formulas (a network, a join's parts and its whole, a typed
// formula). A resistance symbol R also has an internal conductance symbol standing for 1/R,
// which the matrices are built with.
class SymbolTable
{
public:
    GiNaC::symbol symbol(const QString &name);
    GiNaC::symbol conductanceOf(const QString &name);
    bool contains(const QString &name) const { return m_symbols.contains(name); }
    const QStringList &names() const { return m_names; }
    // Every conductance symbol replaced by 1/R.
    GiNaC::ex resistances(const GiNaC::ex &e) const;
    // numerator/denominator, polynomials in the conductance symbols (and any others), as a
    // simplified quotient of polynomials in the resistances: both are multiplied by the powers
    // of R that clear 1/R, then divided by their greatest common divisor. Cheaper than
    // GiNaC::normal, which would add the fractions up term by term first.
    GiNaC::ex quotientInResistances(const GiNaC::ex &numerator, const GiNaC::ex &denominator) const;
    // The written order of terms: symbols by first appearance.
    const std::vector<GiNaC::ex> &order() const { return m_order; }

private:
    QHash<QString, GiNaC::symbol> m_symbols;
    QHash<QString, GiNaC::symbol> m_conductances;
    QStringList m_names;
    std::vector<GiNaC::ex> m_order;
    GiNaC::exmap m_toResistances;
};

// Exact numbers as text.
QString exactText(const GiNaC::numeric &value);  // "5/11", "-2", "3"
QString exactLatex(const GiNaC::numeric &value); // "\frac{5}{11}", "-2"
// Rounded to `digits` significant digits, ties to even, in the C library's %g layout
// ("0.454545454545455", "1.5e-07", "2.5e+20").
QString decimalText(const GiNaC::numeric &value, int digits = 15);

// The numerator and denominator of a quotient of polynomials, expanded; read off the form
// GiNaC::normal leaves, without simplifying it again.
std::pair<GiNaC::ex, GiNaC::ex> fraction(const GiNaC::ex &e);

// A rational function of the symbols as a student would write it; `e` comes simplified
// (GiNaC::normal), as every formula of the core does.
class FormulaWriter
{
public:
    explicit FormulaWriter(const SymbolTable &table) : m_table(table) {}
    // Plain infix: "(R2 + R3)/(R1*R2 + R1*R3 + R2*R3)".
    QString plain(const GiNaC::ex &e) const;
    QString latex(const GiNaC::ex &e) const;
    // The same with a value written in place of each symbol that has one in `values`.
    QString withValues(const GiNaC::ex &e, const QHash<QString, QString> &values) const;
    // Terms of the expanded numerator and denominator together.
    int terms(const GiNaC::ex &e) const;

private:
    struct Term {
        GiNaC::numeric coefficient;
        std::vector<int> powers; // by symbol, in the table's order
    };
    struct Parts {
        std::vector<Term> numerator, denominator;
        bool negative = false; // every term of the numerator was negative: written in front
        bool ok = true;        // a polynomial in the table's symbols
    };
    Parts parts(const GiNaC::ex &e) const;
    std::vector<Term> termsOf(const GiNaC::ex &polynomial, bool *ok) const;
    enum class Style { Plain, Latex, Values };
    QString sum(const std::vector<Term> &terms, Style style,
                const QHash<QString, QString> *values) const;
    QString monomial(const Term &t, Style style, const QHash<QString, QString> *values) const;
    QString written(const GiNaC::ex &e, Style style, const QHash<QString, QString> *values) const;

    const SymbolTable &m_table;
};

} // namespace kvadra::circuit
