#include "twoport/parametersets.h"

#include "twoport/calcerror.h"
#include "twoport/explain.h"
#include "twoport/missingmatrix.h"
#include "twoport/numbertext.h"
#include "twoport/scaling.h"

namespace kvadra
{

namespace
{
// An entry of H, G or ABCD from the matrix it is converted from:
// sign · (1, the determinant, or entry `top`) / entry `bottom`.
struct Conversion {
    int sign;
    enum Top { One, Det, Entry } top;
    int topEntry;
    int bottom;
};

struct Source {
    ParameterSet from; // Z or Y
    std::array<Conversion, 4> entries;
};

using C = Conversion;

// Each set from Y or from Z, the first that the schematic allows in this order.
const std::array<Source, 2> &sourcesOf(ParameterSet set)
{
    static const std::array<Source, 2> h{{
        {ParameterSet::Y,
         {{{1, C::One, 0, 0}, {-1, C::Entry, 1, 0}, {1, C::Entry, 2, 0}, {1, C::Det, 0, 0}}}},
        {ParameterSet::Z,
         {{{1, C::Det, 0, 3}, {1, C::Entry, 1, 3}, {-1, C::Entry, 2, 3}, {1, C::One, 0, 3}}}},
    }};
    static const std::array<Source, 2> g{{
        {ParameterSet::Z,
         {{{1, C::One, 0, 0}, {-1, C::Entry, 1, 0}, {1, C::Entry, 2, 0}, {1, C::Det, 0, 0}}}},
        {ParameterSet::Y,
         {{{1, C::Det, 0, 3}, {1, C::Entry, 1, 3}, {-1, C::Entry, 2, 3}, {1, C::One, 0, 3}}}},
    }};
    static const std::array<Source, 2> abcd{{
        {ParameterSet::Z,
         {{{1, C::Entry, 0, 2}, {1, C::Det, 0, 2}, {1, C::One, 0, 2}, {1, C::Entry, 3, 2}}}},
        {ParameterSet::Y,
         {{{-1, C::Entry, 3, 2}, {-1, C::One, 0, 2}, {-1, C::Det, 0, 2}, {-1, C::Entry, 0, 2}}}},
    }};
    Q_ASSERT(set == ParameterSet::H || set == ParameterSet::G || set == ParameterSet::ABCD);
    return set == ParameterSet::H ? h : set == ParameterSet::G ? g : abcd;
}

Procedure procedureOf(const Schematic &s, ParameterSet matrix)
{
    return matrix == ParameterSet::Z ? s.zProcedure : s.yProcedure;
}

// An entry that cannot be zero whatever values the present elements take.
bool nonZero(const Schematic &s, Procedure p, int entry)
{
    if (p == Procedure::None)
        return false;
    const EntryFormula &f = procedureFormula(p).entries[size_t(entry)];
    return s.hasElement(f.first) || (f.second != 0 && s.hasElement(f.second));
}

const Source *sourceFor(const Schematic &s, ParameterSet set)
{
    for (const Source &source : sourcesOf(set))
        if (nonZero(s, procedureOf(s, source.from), source.entries[0].bottom))
            return &source;
    return nullptr;
}

// The same formulas for doubles, each step checked, and for exact fractions.
double det(const Matrix &m)
{
    return checked(checked(m[0] * m[3]) - checked(m[1] * m[2]));
}

MaybeRational det(const std::array<MaybeRational, 4> &m)
{
    return m[0] * m[3] - m[1] * m[2];
}

double convert(const Conversion &c, const Matrix &m, double d)
{
    const double top = c.top == C::One ? 1.0 : c.top == C::Det ? d : m[size_t(c.topEntry)];
    const double v = checked(top / m[size_t(c.bottom)]);
    return c.sign < 0 ? -v : v;
}

MaybeRational convert(const Conversion &c, const std::array<MaybeRational, 4> &m,
                      const MaybeRational &d)
{
    const MaybeRational top = c.top == C::One   ? MaybeRational(Rational(1))
                              : c.top == C::Det ? d
                                                : m[size_t(c.topEntry)];
    const MaybeRational v = top / m[size_t(c.bottom)];
    return c.sign < 0 && v ? MaybeRational(-*v) : v;
}

qint16 powerOf(Quantity kind, const UnitPowers &u)
{
    return kind == Quantity::None ? 0 : u.of(kind);
}

QString matrixUnit(ParameterSet from)
{
    return baseUnit(from == ParameterSet::Z ? Quantity::Resistance : Quantity::Conductance);
}

// The element values in base units as exact fractions; nothing unless every typed text is a
// decimal the fractions can hold.
std::optional<std::array<MaybeRational, 3>> exactElements(const ElementInput &in, Procedure p)
{
    const qint16 power = takesResistances(p) ? in.units.ohm : in.units.siemens;
    std::array<MaybeRational, 3> e;
    for (size_t k = 0; k < 3; ++k) {
        e[k] = Rational::fromText(in.texts[k]) * Rational::powerOfTen(power);
        if (!e[k])
            return std::nullopt;
    }
    return e;
}

std::array<MaybeRational, 4> exactBase(const std::array<MaybeRational, 3> &elements, Procedure p)
{
    const MaybeRational e[4] = {Rational(0), elements[0], elements[1], elements[2]};
    const ProcedureFormula &formula = procedureFormula(p);
    const MaybeRational delta =
        formula.inverse ? (e[3] * e[1] + e[1] * e[2]) + e[3] * e[2] : MaybeRational(Rational(1));
    std::array<MaybeRational, 4> out;
    for (size_t i = 0; i < 4; ++i) {
        const EntryFormula &f = formula.entries[i];
        MaybeRational v = e[f.first];
        if (f.second != 0)
            v = v + e[f.second];
        if (f.overDeterminant)
            v = v / delta;
        out[i] = f.negate && v ? MaybeRational(-*v) : v;
    }
    return out;
}

std::array<std::optional<QString>, 4> fractions(const std::array<MaybeRational, 4> &values)
{
    std::array<std::optional<QString>, 4> out;
    for (size_t i = 0; i < 4; ++i)
        if (values[i] && !values[i]->isInteger())
            out[i] = values[i]->text(6);
    return out;
}

std::array<MaybeRational, 4> toDisplay(const std::array<MaybeRational, 4> &base, ParameterSet set,
                                       const UnitPowers &u)
{
    std::array<MaybeRational, 4> out;
    for (size_t i = 0; i < 4; ++i)
        out[i] = base[i] / Rational::powerOfTen(powerOf(entryKind(set, int(i)), u));
    return out;
}
} // namespace

bool hasSet(const Schematic &s, ParameterSet set)
{
    if (set == ParameterSet::Z)
        return s.zExists();
    if (set == ParameterSet::Y)
        return s.yExists();
    return sourceFor(s, set) != nullptr;
}

QStringList missingSetReason(const Schematic &s, ParameterSet set)
{
    if (hasSet(s, set))
        return {};
    if (set == ParameterSet::Z || set == ParameterSet::Y)
        return missingMatrixReason(s, set == ParameterSet::Z);
    // The one matrix the schematic has lacks the entry every conversion divides by.
    const bool fromY = s.yExists();
    const QString head = QStringLiteral("No ") + setName(set) + QStringLiteral(" matrix: ");
    switch (set) {
    case ParameterSet::H:
        return {head + (fromY
                            ? QStringLiteral("nothing joins port 1 to the rest of the network, "
                                             "so no current can be driven into it while port 2 "
                                             "is shorted.")
                            : QStringLiteral("the middle wire shorts port 2, so no voltage can be "
                                             "applied to it while port 1 is open."))};
    case ParameterSet::G:
        return {head + (fromY
                            ? QStringLiteral("nothing joins port 2 to the rest of the network, "
                                             "so no current can be driven into it while port 1 "
                                             "is shorted.")
                            : QStringLiteral("the middle wire shorts port 1, so no voltage can be "
                                             "applied to it while port 2 is open."))};
    default:
        return {head + (fromY ? QStringLiteral("without G2 nothing passes from one port to the "
                                               "other, so the voltage and current at port 2 do "
                                               "not determine those at port 1.")
                              : QStringLiteral("the middle wire shorts the middle node, so nothing "
                                               "passes from one port to the other and the voltage "
                                               "and current at port 2 do not determine those at "
                                               "port 1."))};
    }
}

std::array<std::optional<QString>, 4> exactEntries(const ElementInput &in, Procedure procedure)
{
    const auto elements =
        procedure == Procedure::None ? std::nullopt : exactElements(in, procedure);
    if (!elements)
        return {};
    return fractions(toDisplay(exactBase(*elements, procedure),
                               givesZ(procedure) ? ParameterSet::Z : ParameterSet::Y, in.units));
}

namespace
{
// H, G or ABCD from the matrix of its source, in base units (exactly where it can be had).
SetResult convertSet(ParameterSet set, const Source &source, const Matrix &from,
                     const std::array<MaybeRational, 4> &exactFrom, const UnitPowers &u)
{
    const double d = det(from);
    const MaybeRational exactDet = det(exactFrom);
    const QString name = setName(source.from).toLower();
    const QString unit = matrixUnit(source.from);
    auto entryOf = [&name](int i) { return name + entryName(ParameterSet::Z, i).mid(1); };
    SetResult r;
    std::array<MaybeRational, 4> exactValues;
    for (int i = 0; i < 4; ++i) {
        const Conversion &c = source.entries[size_t(i)];
        const Quantity kind = entryKind(set, i);
        const double v = convert(c, from, d);
        r.values[size_t(i)] = scaleFromBase(v, powerOf(kind, u));
        exactValues[size_t(i)] = convert(c, exactFrom, exactDet);
        const QString delta = QStringLiteral("Δ") + setName(source.from);
        const QString top = c.top == C::One   ? QStringLiteral("1")
                            : c.top == C::Det ? delta
                                              : entryOf(c.topEntry);
        const QString topValue = c.top == C::One ? QStringLiteral("1")
                                 : c.top == C::Det
                                     ? withUnit(writeNumber(d), unit + QStringLiteral("²"))
                                     : withUnit(writeNumber(from[size_t(c.topEntry)]), unit);
        const QString sign = c.sign < 0 ? QStringLiteral("−") : QString();
        QStringList lines;
        if (c.top == C::Det)
            lines << equationChain({delta,
                                    QStringLiteral("%1·%2 − %3·%4")
                                        .arg(entryOf(0), entryOf(3), entryOf(1), entryOf(2)),
                                    withUnit(writeNumber(d), unit + QStringLiteral("²"))});
        lines << equationChain({entryName(set, i),
                                sign + top + QStringLiteral(" / ") + entryOf(c.bottom),
                                sign + topValue + QStringLiteral(" / ") +
                                    withUnit(writeNumber(from[size_t(c.bottom)]), unit),
                                withUnit(writeNumber(v), baseUnit(kind)),
                                withUnit(writeNumber(r.values[size_t(i)]), displayUnit(kind, u))});
        r.working[size_t(i)] = lines.join(QLatin1Char('\n'));
    }
    r.fraction = fractions(toDisplay(exactValues, set, u));
    return r;
}
} // namespace

std::array<std::optional<SetResult>, 5> computeSets(const ElementInput &in)
{
    const Schematic &s = *in.schematic;
    const UnitPowers &u = in.units;
    const Calculation calc{
        &s, in.values,
        displayUnit(s.family == Family::Resistance ? Quantity::Resistance : Quantity::Conductance,
                    u),
        displayUnit(Quantity::Resistance, u), displayUnit(Quantity::Conductance, u)};
    const SetResult singular{true, {}, {}, {}};
    std::array<std::optional<SetResult>, 5> sets;
    Matrix base[2]{};                      // Z and Y in base units
    std::array<MaybeRational, 4> exact[2]; // the same, exactly
    for (ParameterSet matrix : {ParameterSet::Z, ParameterSet::Y}) {
        const Procedure p = procedureOf(s, matrix);
        if (p == Procedure::None)
            continue;
        const int m = matrix == ParameterSet::Z ? 0 : 1;
        ProcedureTrace trace;
        SetResult r;
        try {
            r.values =
                runProcedure(p, in.values[0], in.values[1], in.values[2], u.ohm, u.siemens, &trace);
        } catch (const CalcError &) {
            sets[size_t(matrix)] = singular;
            continue;
        }
        for (int i = 0; i < 4; ++i)
            r.working[size_t(i)] = explainEntry(calc, p, trace, i);
        base[m] = trace.base;
        if (const auto elements = exactElements(in, p))
            exact[m] = exactBase(*elements, p);
        r.fraction = fractions(toDisplay(exact[m], matrix, u));
        sets[size_t(matrix)] = r;
    }
    for (ParameterSet set : {ParameterSet::H, ParameterSet::G, ParameterSet::ABCD}) {
        const Source *source = sourceFor(s, set);
        if (!source)
            continue;
        const int m = source->from == ParameterSet::Z ? 0 : 1;
        try {
            sets[size_t(set)] = sets[size_t(source->from)]->singular
                                    ? singular
                                    : convertSet(set, *source, base[m], exact[m], u);
        } catch (const CalcError &) {
            sets[size_t(set)] = singular;
        }
    }
    return sets;
}

} // namespace kvadra
