#include "twoport/copytext.h"

#include "twoport/numbertext.h"
#include "twoport/units.h"

#include <QStringList>

namespace kvadra
{

QString latexSymbol(const QString &name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    if (digits == name.size() || digits == 0)
        return name;
    return name.left(digits) + QStringLiteral("_{") + name.mid(digits) + QLatin1Char('}');
}

void CopyText::note(const QString &line)
{
    m_text += (m_latex ? QStringLiteral("% ") : QString()) + line + QLatin1Char('\n');
}

void CopyText::line(const QString &line)
{
    m_text += line + QLatin1Char('\n');
}

QString CopyText::valuesInline(const QList<NamedValue> &values, const QString &textSeparator) const
{
    QStringList parts;
    for (const NamedValue &v : values)
        parts << (m_latex
                      ? latexSymbol(v.name) + QStringLiteral(" = ") + latexNumber(v.value) +
                            latexUnit(v.unit)
                      : v.name + QStringLiteral(" = ") + withUnit(writeNumber(v.value), v.unit));
    return m_latex ? QLatin1Char('$') + parts.join(QStringLiteral(",\\quad ")) + QLatin1Char('$')
                   : parts.join(textSeparator);
}

void CopyText::values(const QList<NamedValue> &values, const QString &textSeparator)
{
    line(valuesInline(values, textSeparator));
}

void CopyText::matrix(ParameterSet set, const std::array<double, 4> &entries, const QString &unit)
{
    if (m_latex) {
        QStringList e;
        for (double v : entries)
            e << latexNumber(v);
        line(QStringLiteral("\\[ ") + setName(set) +
             QStringLiteral(" = \\begin{bmatrix} %1 & %2 \\\\ %3 & %4 \\end{bmatrix}")
                 .arg(e[0], e[1], e[2], e[3]) +
             latexUnit(unit) + QStringLiteral(" \\]"));
        return;
    }
    for (int row = 0; row < 2; ++row)
        line(QStringLiteral("  %1 = %2    %3 = %4")
                 .arg(entryName(set, 2 * row), writeNumber(entries[size_t(2 * row)]),
                      entryName(set, 2 * row + 1), writeNumber(entries[size_t(2 * row + 1)])));
}

} // namespace kvadra
