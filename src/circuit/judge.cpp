#include "circuit/judge.h"

#include "circuit/value.h"
#include "twoport/numbertext.h"

#include <ginac/ginac.h>

namespace kvadra::circuit
{

namespace
{
constexpr int maxFormulaLength = 400;
constexpr int maxNesting = 32;
constexpr int maxExponent = 16;

// |x| rounded half away from zero to a whole number, and whether it was a tie.
GiNaC::numeric roundHalfUp(const GiNaC::numeric &x, bool *tie = nullptr)
{
    const GiNaC::numeric a = GiNaC::abs(x);
    const GiNaC::numeric down = GiNaC::iquo(a.numer(), a.denom());
    const GiNaC::numeric rest = a - down;
    if (tie)
        *tie = rest == GiNaC::numeric(1, 2);
    const GiNaC::numeric r = rest >= GiNaC::numeric(1, 2) ? down + 1 : down;
    return x.is_negative() ? -r : r;
}

GiNaC::numeric roundAt(const GiNaC::numeric &x, int place)
{
    return roundHalfUp(x / tenTo(place)) * tenTo(place);
}

int leadingPower(const GiNaC::numeric &x)
{
    const GiNaC::numeric a = GiNaC::abs(x);
    int e = int(std::floor(std::log10(a.to_double())));
    while (a >= tenTo(e + 1))
        ++e;
    while (a < tenTo(e))
        --e;
    return e;
}

struct Typed {
    GiNaC::numeric number; // display unit
    bool fraction = false;
    int place = 0;
    int significant = 1;
};

enum class Agreement { None, Exact, Rounded, InSteps, CutOff };

Agreement agreement(const Typed &t, const GiNaC::numeric &x)
{
    if (t.fraction || t.number.is_zero())
        return t.number == x ? Agreement::Exact : Agreement::None;
    const GiNaC::numeric q = x / tenTo(t.place);
    const GiNaC::numeric typed = t.number / tenTo(t.place); // whole
    bool tie = false;
    const GiNaC::numeric nearest = roundHalfUp(q, &tie);
    // A tie may be rounded either way.
    if (typed == nearest || (tie && GiNaC::abs(typed - q) == GiNaC::numeric(1, 2)))
        return Agreement::Rounded;
    if (!x.is_zero()) {
        const int first = leadingPower(x) - 14;
        if (t.place - first <= 40) {
            GiNaC::numeric staged = x;
            for (int k = first; k < t.place; ++k)
                staged = roundAt(staged, k);
            if (roundAt(staged, t.place) == t.number)
                return Agreement::InSteps;
        }
    }
    const GiNaC::numeric cut =
        q.is_negative() ? -GiNaC::iquo(-q.numer(), q.denom()) : GiNaC::iquo(q.numer(), q.denom());
    if (cut == typed)
        return Agreement::CutOff;
    return Agreement::None;
}

QString digitsText(int digits)
{
    return digits == 1 ? QStringLiteral("the 1 digit typed")
                       : QStringLiteral("the %1 digits typed").arg(digits);
}

QString shown(const GiNaC::numeric &x)
{
    return decimalText(x, 15);
}

const QString unreadableHelp =
    QStringLiteral("type digits with a point or a comma (0.45), a prefix (0.45m), a fraction "
                   "(5/11), or a formula in the element names (R1 + R2)");

QString namesList(const QStringList &names)
{
    return names.isEmpty() ? QStringLiteral("this network has no symbols")
                           : QStringLiteral("its names are ") + names.join(QStringLiteral(", "));
}

// A typed value in the display unit, or why it does not fit the entry.
std::optional<Typed> typedValue(const Value &v, const JudgeTarget &target, QString *error)
{
    Typed t{v.number, v.fraction, v.place, std::max(1, v.significant)};
    if (v.unit != ValueUnit::None) {
        const bool fits = (v.unit == ValueUnit::Ohm && target.kind == Quantity::Resistance) ||
                          (v.unit == ValueUnit::Siemens && target.kind == Quantity::Conductance);
        if (!fits) {
            *error = target.kind == Quantity::None
                         ? QStringLiteral("%1 is a ratio: type it without a unit").arg(target.name)
                         : QStringLiteral("%1 is %2: type it in %3, or without a unit in the "
                                          "unit shown")
                               .arg(target.name,
                                    target.kind == Quantity::Resistance
                                        ? QStringLiteral("a resistance")
                                        : QStringLiteral("a conductance"),
                                    target.kind == Quantity::Resistance ? QStringLiteral("ohm")
                                                                        : QStringLiteral("S"));
            return std::nullopt;
        }
        // Written with its unit: in the base unit, prefix included.
        t.number /= tenTo(target.unitPower);
        t.place -= target.unitPower;
    }
    return t;
}

Verdict match(Agreement a, const Typed &t, const GiNaC::numeric &x)
{
    const QString matches = QStringLiteral("matches to ") + digitsText(t.significant);
    const QString rounded = shown(roundAt(x, t.place));
    switch (a) {
    case Agreement::Exact:
        return {Verdict::Match, QStringLiteral("matches exactly"),
                QStringLiteral("It matches exactly: %1.").arg(exactText(x))};
    case Agreement::Rounded:
        return {Verdict::Match, matches, QStringLiteral("It ") + matches + '.'};
    case Agreement::InSteps:
        return {Verdict::Match, matches + QStringLiteral(", rounded in steps"),
                QStringLiteral("It ") + matches +
                    QStringLiteral(", rounded in steps; rounded at once it is ") + rounded + '.'};
    case Agreement::CutOff:
        return {Verdict::Match, matches + QStringLiteral(", cut off"),
                QStringLiteral("It ") + matches +
                    QStringLiteral(", cut off rather than rounded; rounded it is ") + rounded +
                    '.'};
    case Agreement::None:
        break;
    }
    return {};
}

Verdict judgeNumber(const Typed &t, const JudgeTarget &target)
{
    const GiNaC::numeric &x = *target.number;
    const Agreement a = agreement(t, x);
    if (a != Agreement::None)
        return match(a, t, x);
    for (const Slip &s : target.slips)
        if (s.number && agreement(t, *s.number) != Agreement::None)
            return {Verdict::Slip, s.brief, s.text};
    if (t.number.is_zero() && !t.fraction)
        return {Verdict::Slip, QStringLiteral("it does not vanish"),
                QStringLiteral("It does not vanish: %1 is %2, not 0.")
                    .arg(target.name, decimalText(x, 6))};
    // Close, but not to the digits typed: a step rounded before the end.
    if (!x.is_zero() && GiNaC::abs(t.number - x) <= GiNaC::abs(x) / 100)
        return {Verdict::Slip, QStringLiteral("rounded too early?"),
                QStringLiteral("Close, but off in the digits typed: an intermediate result "
                               "rounded too early? The value is ") +
                    shown(x) + '.'};
    return {Verdict::Unexplained, QStringLiteral("no usual slip: see the working"),
            QStringLiteral("No usual slip explains it. The working:\n") + target.working};
}

bool same(const GiNaC::ex &a, const GiNaC::ex &b)
{
    return GiNaC::normal(a - b).is_zero();
}

Verdict judgeFormula(const GiNaC::ex &typed, const JudgeTarget &target,
                     const FormulaContext &context, const QString &text)
{
    if (GiNaC::is_a<GiNaC::numeric>(typed)) {
        if (!target.number)
            return {Verdict::Unexplained, QStringLiteral("no value yet"),
                    QStringLiteral("%1 has no number while %2 lack values: type a formula in the "
                                   "element names.")
                        .arg(target.name, target.unvalued.join(QStringLiteral(", ")))};
        Typed t{GiNaC::ex_to<GiNaC::numeric>(typed), true, 0, 1};
        return judgeNumber(t, target);
    }
    if (target.formula) {
        if (same(typed, *target.formula))
            return {Verdict::Match, QStringLiteral("matches for every value"),
                    QStringLiteral("It matches: %1 = %2 for every value of the elements.")
                        .arg(target.name, text.trimmed())};
        for (const Slip &s : target.slips)
            if (s.formula && same(typed, *s.formula))
                return {Verdict::Slip, s.brief, s.text};
        return {Verdict::Unexplained, QStringLiteral("no usual slip: see the working"),
                QStringLiteral("It is not %1, and no usual slip explains it. The working:\n%2")
                    .arg(target.name, target.working)};
    }
    // Without the formula, the values decide where every symbol has one.
    const GiNaC::ex valued = GiNaC::normal(typed.subs(context.values));
    if (target.number && GiNaC::is_a<GiNaC::numeric>(valued)) {
        Typed t{GiNaC::ex_to<GiNaC::numeric>(valued), true, 0, 1};
        Verdict v = judgeNumber(t, target);
        if (v.kind == Verdict::Match)
            v.text = QStringLiteral("It matches with these values: %1.").arg(exactText(t.number));
        return v;
    }
    return {Verdict::Unexplained, QStringLiteral("cannot compare"),
            QStringLiteral("The formula of %1 is too long to compare with, and the symbols lack "
                           "values.")
                .arg(target.name)};
}
} // namespace

std::optional<GiNaC::ex> readFormula(const QString &typed, const FormulaContext &context,
                                     QString *error)
{
    if (typed.size() > maxFormulaLength) {
        *error = QStringLiteral("too long: at most %1 characters").arg(maxFormulaLength);
        return std::nullopt;
    }
    QString text = typed;
    for (QChar c : {QChar(0x00B7), QChar(0x00D7), QChar(0x22C5), QChar(0x2217)})
        text.replace(c, QLatin1Char('*'));
    text.replace(QChar(0x2212), QLatin1Char('-'));
    GiNaC::symtab table;
    std::string out;
    int depth = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c.isSpace()) {
            out += ' ';
            ++i;
        } else if (c.isDigit() ||
                   (c == QLatin1Char('.') && i + 1 < text.size() && text[i + 1].isDigit())) {
            qsizetype length = 0;
            const auto t = scanDecimal(QStringView(text).mid(i), &length);
            if (!t) {
                *error = QStringLiteral("a number that cannot be read at '%1'").arg(text.mid(i, 8));
                return std::nullopt;
            }
            const int lead =
                t->digits == QLatin1String("0") ? 0 : t->exponent + int(t->digits.size()) - 1;
            if (std::abs(lead) > maxPowerOfTen) {
                *error = QStringLiteral("a number out of range");
                return std::nullopt;
            }
            const GiNaC::numeric n =
                GiNaC::numeric(t->digits.toLatin1().constData()) * tenTo(t->exponent);
            out += '(' + exactText(n).toStdString() + ')';
            i += length;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype j = i;
            while (j < text.size() && (text[j].isLetterOrNumber() || text[j] == QLatin1Char('_')))
                ++j;
            const QString name = text.mid(i, j - i);
            const qsizetype index = context.names.indexOf(name);
            if (index < 0) {
                *error = QStringLiteral("'%1' is not a name in this network: %2")
                             .arg(name, namesList(context.names));
                return std::nullopt;
            }
            const std::string key = "s" + std::to_string(index);
            table[key] = context.table->symbol(name);
            out += key;
            i = j;
        } else if (c == QLatin1Char('^')) {
            // Only a small whole power, so no formula can ask for a huge number.
            qsizetype j = i + 1;
            while (j < text.size() && text[j].isSpace())
                ++j;
            const bool paren = j < text.size() && text[j] == QLatin1Char('(');
            if (paren)
                ++j;
            QString power;
            if (j < text.size() && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
                power += text[j++];
            while (j < text.size() && text[j].isDigit() && power.size() < 4)
                power += text[j++];
            if (paren) {
                if (j < text.size() && text[j] == QLatin1Char(')'))
                    ++j;
                else
                    power.clear();
            }
            bool ok = false;
            const int p = power.toInt(&ok);
            if (!ok || std::abs(p) > maxExponent) {
                *error = QStringLiteral("a power must be a whole number from -%1 to %1")
                             .arg(maxExponent);
                return std::nullopt;
            }
            out += "^(" + std::to_string(p) + ')';
            i = j;
        } else if (QStringLiteral("+-*/()").contains(c)) {
            depth += c == QLatin1Char('(') ? 1 : 0;
            if (depth > maxNesting) {
                *error = QStringLiteral("too many parentheses");
                return std::nullopt;
            }
            out += char(c.unicode());
            ++i;
        } else {
            *error = QStringLiteral("unexpected '%1'").arg(c);
            return std::nullopt;
        }
    }
    try {
        GiNaC::parser reader(table, true, GiNaC::prototype_table());
        return reader(out);
    } catch (const std::exception &) {
        *error = QStringLiteral("not a formula: check its operators and parentheses");
        return std::nullopt;
    }
}

Verdict judgeTyped(const QString &typed, const JudgeTarget &target, const FormulaContext &context)
{
    if (typed.trimmed().isEmpty())
        return {};
    ValueError valueError;
    const auto value = readValue(typed, &valueError);
    if (value && !value->isSymbol) {
        QString error;
        const auto t = typedValue(*value, target, &error);
        if (!t)
            return {Verdict::Unreadable, QStringLiteral("wrong unit"), error + '.'};
        if (!target.number)
            return {Verdict::Unexplained, QStringLiteral("no value yet"),
                    QStringLiteral("%1 has no number while %2 lack values: give them values, or "
                                   "type a formula in the element names.")
                        .arg(target.name, target.unvalued.join(QStringLiteral(", ")))};
        return judgeNumber(*t, target);
    }
    QString error;
    const auto formula = readFormula(typed, context, &error);
    if (!formula) {
        // A number with a refused prefix says so better than a formula would.
        if (!value && valueError.message.contains(QStringLiteral("prefix")))
            return {Verdict::Unreadable, QStringLiteral("not a value"),
                    valueError.message[0].toUpper() + valueError.message.mid(1) + '.'};
        const bool named = error.contains(QStringLiteral("not a name"));
        return {
            Verdict::Unreadable,
            named ? QStringLiteral("unknown name") : QStringLiteral("not a value"),
            named
                ? error[0].toUpper() + error.mid(1) + '.'
                : QStringLiteral("Not a value or a formula (%1): %2.").arg(error, unreadableHelp)};
    }
    return judgeFormula(*formula, target, context, typed);
}

GiNaC::numeric tenTo(int power)
{
    return GiNaC::numeric(10).power(power);
}

void addSignAndPrefixSlips(JudgeTarget &t, const QString &shown)
{
    auto neg = [](const auto &x) { return x ? std::optional(-*x) : std::nullopt; };
    t.slips.push_back({neg(t.number), neg(t.formula), QStringLiteral("sign lost"),
                       QStringLiteral("The sign is lost: the value is %1.").arg(shown)});
    for (int p : {3, -3, 6, -6}) {
        const QString factor =
            (p < 0 ? QStringLiteral("1/1") : QStringLiteral("1")) + QString(std::abs(p), '0');
        t.slips.push_back({t.number ? std::optional(*t.number * tenTo(p)) : std::nullopt,
                           std::nullopt, QStringLiteral("off by a factor of ") + factor,
                           QStringLiteral("It is off by a factor of %1: a unit prefix (milli, "
                                          "kilo) taken the wrong way? The value is %2.")
                               .arg(factor, shown)});
    }
}

} // namespace kvadra::circuit
