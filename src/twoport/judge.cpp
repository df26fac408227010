#include "twoport/judge.h"

#include "twoport/calcerror.h"
#include "twoport/numbertext.h"

#include <cmath>
#include <functional>

namespace kvadra
{

namespace
{
double roundAt(double x, double place)
{
    return place > 0 && std::isfinite(place) ? std::round(x / place) * place : x;
}

enum class Agreement { None, Rounded, InSteps, CutOff };

Agreement agreement(double typed, double value, double place)
{
    if (!std::isfinite(value))
        return Agreement::None;
    auto same = [&](double x) { return std::abs(typed - x) <= place * 1e-6; };
    if (same(roundAt(value, place)))
        return Agreement::Rounded;
    // From the fifteenth significant digit up to the place typed, one digit at a time; a place
    // so far from the value that the steps cannot be counted has none.
    double staged = value;
    if (value != 0 && place > 0) {
        const int first = int(std::floor(std::log10(std::abs(value)))) - 14;
        const int last = int(std::lround(std::log10(place)));
        for (int k = first; k < last && last - first <= 30; ++k)
            staged = roundAt(staged, std::pow(10.0, k));
    }
    if (same(roundAt(staged, place)))
        return Agreement::InSteps;
    if (same(std::trunc(value / place) * place))
        return Agreement::CutOff;
    return Agreement::None;
}

QString digitsText(int digits)
{
    return digits == 1 ? QStringLiteral("the 1 digit typed")
                       : QStringLiteral("the %1 digits typed").arg(digits);
}
// A wrong value one of the usual slips gives, with its words.
struct Candidate {
    double value;
    QString brief, text;
};

// The wrong values the usual slips give for `entry` of `set`, most likely first.
QList<Candidate> slipCandidates(ParameterSet set, int entry,
                                const std::array<std::optional<SetResult>, 5> &sets)
{
    auto usable = [&sets](ParameterSet s) { return sets[size_t(s)] && !sets[size_t(s)]->singular; };
    const SetResult &own = *sets[size_t(set)];
    const double value = own.values[size_t(entry)];
    const QString name = entryName(set, entry);
    const QString shown = writeNumber(value);
    QList<Candidate> candidates;
    candidates << Candidate{-value, QStringLiteral("sign lost"),
                            QStringLiteral("The sign is lost: the value is ") + shown + '.'};
    for (int power : {3, -3, 6, -6}) {
        const QString factor = (power < 0 ? QStringLiteral("1/1") : QStringLiteral("1")) +
                               QString(std::abs(power), QLatin1Char('0'));
        candidates << Candidate{value * std::pow(10.0, power),
                                QStringLiteral("off by a factor of ") + factor,
                                QStringLiteral("It is off by a factor of ") + factor +
                                    QStringLiteral(": a unit prefix (milli, kilo) taken the "
                                                   "wrong way? The value is ") +
                                    shown + '.'};
    }
    // The other set of an inverse pair, entry for entry.
    const std::optional<ParameterSet> inverse =
        set == ParameterSet::Z   ? std::optional(ParameterSet::Y)
        : set == ParameterSet::Y ? std::optional(ParameterSet::Z)
        : set == ParameterSet::H ? std::optional(ParameterSet::G)
        : set == ParameterSet::G ? std::optional(ParameterSet::H)
                                 : std::nullopt;
    if (inverse && usable(*inverse) && sets[size_t(*inverse)]->values[size_t(entry)] != 0) {
        const QString other = entryName(*inverse, entry);
        candidates << Candidate{1 / sets[size_t(*inverse)]->values[size_t(entry)],
                                QStringLiteral("that is 1/") + other,
                                QStringLiteral("That is 1/") + other + QStringLiteral(", but ") +
                                    name + QStringLiteral(" is not the reciprocal of ") + other +
                                    QStringLiteral(": the whole matrix is inverted, not each "
                                                   "entry.")};
    }
    for (int other = 0; other < 4; ++other)
        if (other != entry)
            candidates << Candidate{
                own.values[size_t(other)], QStringLiteral("that is ") + entryName(set, other),
                QStringLiteral("That is the value of ") + entryName(set, other) +
                    QStringLiteral(": indices swapped, or the other port?")};
    const Matrix &m = own.values;
    const double determinant = m[0] * m[3] - m[1] * m[2];
    const QString det = QStringLiteral("the determinant of ") + setName(set);
    candidates << Candidate{determinant, QStringLiteral("that is ") + det,
                            QStringLiteral("That is ") + det + QStringLiteral(", not ") + name +
                                '.'};
    if (determinant != 0)
        candidates << Candidate{1 / determinant, QStringLiteral("that is 1 over ") + det,
                                QStringLiteral("That is 1 over ") + det +
                                    QStringLiteral(": the numerator of the division by the "
                                                   "determinant is missing.")};
    for (ParameterSet other : allParameterSets)
        if (other != set && usable(other)) {
            const QString same = entryName(other, entry);
            candidates << Candidate{
                sets[size_t(other)]->values[size_t(entry)], QStringLiteral("that is ") + same,
                QStringLiteral("That is ") + same + QStringLiteral(", the same entry of the ") +
                    setName(other) + QStringLiteral(" set.")};
        }
    return candidates;
}
} // namespace

Verdict judge(const QString &typed, ParameterSet set, int entry,
              const std::array<std::optional<SetResult>, 5> &sets)
{
    if (typed.trimmed().isEmpty() || !sets[size_t(set)] || sets[size_t(set)]->singular)
        return {};
    const SetResult &own = *sets[size_t(set)];
    TypedNumber t;
    try {
        t = readTypedNumber(typed);
    } catch (const CalcError &) {
        return {Verdict::Unreadable, QStringLiteral("not a number"),
                QStringLiteral("Not a number: type digits with a point or a comma, and an "
                               "exponent if you like (2.5E-3).")};
    }
    const double place = std::pow(10.0, t.exponent);
    const double value = own.values[size_t(entry)];
    const QString matches = QStringLiteral("matches to ") + digitsText(t.significant());
    const QString rounded = writeNumber(roundAt(value, place));
    switch (agreement(t.value, value, place)) {
    case Agreement::Rounded:
        return {Verdict::Match, matches, QStringLiteral("It ") + matches + '.'};
    case Agreement::InSteps:
        return {Verdict::Match, matches + QStringLiteral(", rounded in steps"),
                QStringLiteral("It ") + matches +
                    QStringLiteral(", rounded in steps; rounded at "
                                   "once it is ") +
                    rounded + '.'};
    case Agreement::CutOff:
        return {Verdict::Match, matches + QStringLiteral(", cut off"),
                QStringLiteral("It ") + matches +
                    QStringLiteral(", cut off rather than rounded; rounded it is ") + rounded +
                    '.'};
    case Agreement::None:
        break;
    }
    for (const Candidate &c : slipCandidates(set, entry, sets))
        if (agreement(t.value, c.value, place) != Agreement::None)
            return {Verdict::Slip, c.brief, c.text};
    // Close, but not to the digits typed: a step rounded before the end.
    if (value != 0 && std::abs(t.value - value) <= 0.01 * std::abs(value))
        return {Verdict::Slip, QStringLiteral("rounded too early?"),
                QStringLiteral("Close, but off in the digits typed: an intermediate result "
                               "rounded too early? The value is ") +
                    writeNumber(value) + '.'};
    return {Verdict::Unexplained, QStringLiteral("no usual slip: see the working"),
            QStringLiteral("No usual slip explains it. The working:\n") +
                own.working[size_t(entry)]};
}

} // namespace kvadra
