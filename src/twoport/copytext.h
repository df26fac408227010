#pragma once

#include "twoport/parameterset.h"

#include <QList>
#include <QString>

#include <array>

namespace kvadra
{

// How results are copied: plain text to read, or a LaTeX fragment to paste into a document.
enum class CopyFlavour { Text, Latex };

// A value with its name and unit, as a copy shows it: "R1 = 1 kOhm", "R_{1} = 1\,\mathrm{k\Omega}".
struct NamedValue {
    QString name; // "R1", "V1", "z11", "A"
    double value;
    QString unit; // empty for a ratio
};

// A name as a LaTeX symbol, its digits as a subscript: "R_{1}", "z_{11}", "A".
QString latexSymbol(const QString &name);

// One copy, built piece by piece in one flavour.
class CopyText
{
public:
    explicit CopyText(CopyFlavour flavour) : m_latex(flavour == CopyFlavour::Latex) {}

    bool latex() const { return m_latex; }
    // A line about the results: itself in text, a comment in LaTeX.
    void note(const QString &line);
    // A line of the flavour's own, as given.
    void line(const QString &line);
    // Values, each "name = value unit", in text joined by `textSeparator` and ended by a line
    // break; in LaTeX one formula on a line.
    void values(const QList<NamedValue> &values, const QString &textSeparator);
    // The values as `values` writes them, without the line break: for inside another line.
    QString valuesInline(const QList<NamedValue> &values, const QString &textSeparator) const;
    // A 2 x 2 matrix of a parameter set, entries 11, 12, 21, 22 in `unit` (amsmath in LaTeX).
    void matrix(ParameterSet set, const std::array<double, 4> &entries, const QString &unit);

    QString text() const { return m_text; }

private:
    bool m_latex;
    QString m_text;
};

} // namespace kvadra
