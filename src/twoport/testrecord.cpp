#include "twoport/testrecord.h"

#include "twoport/numbertext.h"
#include "twoport/parameterset.h"

#include <QLocale>

#include <algorithm>

namespace kvadra
{

namespace
{
qint16 sameAsInitial(qint16 initialExists, const std::array<double, 4> &initial, qint16 caseExists,
                     const std::array<double, 16> &cases, int k, int j)
{
    if (initialExists == 0)
        return caseExists == 0 ? 1 : 0;
    if (caseExists != 1)
        return 0;
    return initial[size_t(j)] == cases[size_t(4 * k + j)] ? 1 : 0;
}
} // namespace

void TestRecord::storeStep(qint16 count, qint16 zExists, qint16 yExists,
                           const std::array<double, 4> &z, const std::array<double, 4> &y)
{
    if (count == 0) {
        initialZExists = zExists == 1 ? 1 : 0;
        if (zExists == 1)
            initialZ = z;
        initialYExists = yExists == 1 ? 1 : 0;
        if (yExists == 1)
            initialY = y;
        return;
    }
    if (count < 1 || count > 4)
        return;
    const size_t k = size_t(count - 1);
    caseZExists[k] = zExists == 1 ? 1 : 0;
    if (zExists == 1)
        std::copy(z.begin(), z.end(), caseZ.begin() + long(4 * k));
    caseYExists[k] = yExists == 1 ? 1 : 0;
    if (yExists == 1)
        std::copy(y.begin(), y.end(), caseY.begin() + long(4 * k));
}

std::array<qint16, 4> compareParameter(const TestRecord &r, int code)
{
    std::array<qint16, 4> result{};
    for (int k = 0; k < 4; ++k) {
        if (code >= 0 && code < 4)
            result[size_t(k)] = sameAsInitial(r.initialZExists, r.initialZ,
                                              r.caseZExists[size_t(k)], r.caseZ, k, code);
        else if (code >= 4 && code < 8)
            result[size_t(k)] = sameAsInitial(r.initialYExists, r.initialY,
                                              r.caseYExists[size_t(k)], r.caseY, k, code - 4);
    }
    return result;
}

QString compareExplanation(const TestRecord &r, int code, int k, const QString &unit)
{
    if (code < 0 || code >= 8 || k < 0 || k >= 4)
        return QString();
    const bool z = code < 4;
    const int j = code % 4;
    const bool initialExists = (z ? r.initialZExists : r.initialYExists) == 1;
    const bool caseExists = (z ? r.caseZExists : r.caseYExists)[size_t(k)] == 1;
    const double initial = (z ? r.initialZ : r.initialY)[size_t(j)];
    const double other = (z ? r.caseZ : r.caseY)[size_t(4 * k + j)];
    const QString name = entryName(z ? ParameterSet::Z : ParameterSet::Y, j);
    auto line = [&](const QString &who, bool exists, double v) {
        return name + QStringLiteral(" in ") + who + QStringLiteral(": ") +
               (exists ? writeNumber(v) + QLatin1Char(' ') + unit
                       : QStringLiteral("does not exist"));
    };
    const QString caseName = QStringLiteral("case ") + QChar('A' + k);
    QString text = line(QStringLiteral("the INITIAL"), initialExists, initial) + '\n' +
                   line(caseName, caseExists, other);
    if (!initialExists && !caseExists)
        text += QStringLiteral("\nNeither has this matrix, which counts as the same.");
    if (initialExists && caseExists && initial != other &&
        writeNumber(initial) == writeNumber(other)) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        text += QStringLiteral("\nAt full precision: %1 and %2 — they differ in the last digits.")
                    .arg(locale.toString(initial, 'G', 17), locale.toString(other, 'G', 17));
    }
    return text;
}

} // namespace kvadra
