#include "circuit/value.h"

#include "twoport/numbertext.h"

#include <QStringList>

#include <ginac/ginac.h>

#include <sstream>

namespace kvadra::circuit
{

namespace
{
const QString prefixList = QStringLiteral("f p n u µ m k meg g t");

struct Prefix {
    int power = 0;
    int length = 0; // 0: none
};

// The prefix at the start of `text`, or an error for a letter that looks like one but is not.
std::optional<Prefix> prefixAt(QStringView text, QString *refused)
{
    if (text.isEmpty())
        return Prefix{};
    if (text.startsWith(QLatin1String("meg"), Qt::CaseInsensitive))
        return Prefix{6, 3};
    switch (text.front().unicode()) {
    case 'f':
        return Prefix{-15, 1};
    case 'p':
        return Prefix{-12, 1};
    case 'n':
        return Prefix{-9, 1};
    case 'u':
    case 0x00B5: // micro sign
    case 0x03BC: // Greek small mu
        return Prefix{-6, 1};
    case 'm':
        return Prefix{-3, 1};
    case 'k':
    case 'K':
        return Prefix{3, 1};
    case 'g':
    case 'G':
        return Prefix{9, 1};
    case 't':
    case 'T':
        return Prefix{12, 1};
    case 'M':
        *refused = QStringLiteral(
            "ambiguous prefix 'M': write 'meg' for mega (10^6) or 'm' for milli (10^-3)");
        return std::nullopt;
    case 'F':
    case 'P':
    case 'N':
    case 'U':
        *refused = QStringLiteral("unknown prefix '%1': prefixes are %2 (K, G, T and MEG also)")
                       .arg(text.front(), prefixList);
        return std::nullopt;
    default:
        return Prefix{};
    }
}

// The unit that is all of `text`, if it is one.
std::optional<ValueUnit> unitOf(QStringView text)
{
    if (text == QStringLiteral("S"))
        return ValueUnit::Siemens;
    if (text == QStringLiteral("Ω") || text == QStringLiteral("Ω") ||
        text.compare(QLatin1String("ohm"), Qt::CaseInsensitive) == 0 ||
        text.compare(QLatin1String("ohms"), Qt::CaseInsensitive) == 0)
        return ValueUnit::Ohm;
    return std::nullopt;
}

// The unit word after a number or a symbol: a unit, with a prefix where `prefixAllowed`.
std::optional<std::pair<ValueUnit, int>> readUnitWord(QStringView word, bool prefixAllowed,
                                                      QString *message)
{
    if (const auto unit = unitOf(word))
        return std::pair{*unit, 0};
    QString refused;
    const auto prefix = prefixAt(word, &refused);
    if (!prefix) {
        *message = refused;
        return std::nullopt;
    }
    if (prefix->length > 0) {
        if (const auto unit = unitOf(word.mid(prefix->length))) {
            if (prefixAllowed)
                return std::pair{*unit, prefix->power};
            *message = QStringLiteral("two prefixes in one value: '%1' after a prefix or a symbol")
                           .arg(word);
            return std::nullopt;
        }
    }
    *message =
        QStringLiteral("unexpected '%1' after the value: expected a unit (Ω, ohm or S)").arg(word);
    return std::nullopt;
}

GiNaC::numeric powerOfTen(int power)
{
    return GiNaC::numeric(10).power(power);
}

GiNaC::numeric integerOf(const QString &digits)
{
    return GiNaC::numeric(digits.toLatin1().constData());
}

// The power of ten of the leading digit; 0 for zero.
int magnitude(const TypedNumber &t)
{
    return t.digits == QLatin1String("0") ? 0 : t.exponent + int(t.digits.size()) - 1;
}

bool fail(ValueError *error, int offset, const QString &message)
{
    if (error)
        *error = {offset, message};
    return false;
}

const QString expectedNumber =
    QStringLiteral("expected a number such as 1500, 1.5k, 2k2, 5/11 or 2mS, or a symbol name");

// A number word: sign, digits, fraction, prefix or RKM code, attached unit.
bool readNumberWord(const QString &word, Value &v, bool *prefixed, ValueError *error)
{
    qsizetype length = 0;
    auto t = scanDecimal(word, &length);
    if (!t)
        return fail(error, 0, QStringLiteral("bad value '%1': %2").arg(word, expectedNumber));
    const QStringView written = QStringView(word).left(length);
    const bool plainInteger = !written.contains(QLatin1Char('.')) &&
                              !written.contains(QLatin1Char(',')) &&
                              !written.contains(QLatin1Char('e'), Qt::CaseInsensitive);
    qsizetype i = length;
    std::optional<TypedNumber> denominator;
    if (i < word.size() && word[i] == QLatin1Char('/')) {
        const qsizetype start = i + 1;
        qsizetype taken = 0;
        if (start < word.size() && (word[start] == '+' || word[start] == '-'))
            return fail(error, int(start),
                        QStringLiteral("a sign in the denominator of '%1'").arg(word));
        denominator = scanDecimal(QStringView(word).mid(start), &taken);
        if (!denominator)
            return fail(error, int(start),
                        QStringLiteral("bad fraction '%1': expected digits after '/'").arg(word));
        if (denominator->digits == QLatin1String("0"))
            return fail(error, int(start), QStringLiteral("division by zero in '%1'").arg(word));
        i = start + taken;
    }
    QString refused;
    const auto prefix = prefixAt(QStringView(word).mid(i), &refused);
    if (!prefix)
        return fail(error, int(i), refused);
    Prefix p = *prefix;
    bool rkmMarker = false;
    if (p.length == 0 && i + 1 < word.size() &&
        (word[i] == QLatin1Char('R') || word[i] == QLatin1Char('r')) && word[i + 1].isDigit())
        p.length = 1, rkmMarker = true;
    i += p.length;
    // RKM: the digits after the prefix letter are the fraction ("2k2" = 2.2k).
    QString rkmDigits;
    while (i < word.size() && word[i] >= QLatin1Char('0') && word[i] <= QLatin1Char('9'))
        rkmDigits += word[i++];
    if (!rkmDigits.isEmpty() && (!plainInteger || denominator))
        return fail(error, int(i - rkmDigits.size()),
                    QStringLiteral("bad value '%1': digits after the prefix need a whole number "
                                   "before it, as in 2k2")
                        .arg(word));
    if (rkmMarker && rkmDigits.isEmpty())
        return fail(error, int(i), QStringLiteral("bad value '%1': %2").arg(word, expectedNumber));
    if (!rkmDigits.isEmpty()) {
        QString all = (t->digits == QLatin1String("0") ? QString() : t->digits) + rkmDigits;
        while (all.size() > 1 && all.front() == QLatin1Char('0'))
            all.remove(0, 1);
        t->digits = all.isEmpty() ? QStringLiteral("0") : all;
        t->exponent -= int(rkmDigits.size());
    }
    if (i < word.size()) {
        const auto unit = unitOf(QStringView(word).mid(i));
        if (!unit)
            return fail(error, int(i),
                        QStringLiteral("unexpected '%1' in '%2': expected a prefix (%3) or a unit "
                                       "(Ω, ohm or S)")
                            .arg(word.mid(i), word, prefixList));
        v.unit = *unit;
    }
    for (const TypedNumber *n : {&*t, denominator ? &*denominator : nullptr}) {
        if (n && n->digits != QLatin1String("0") &&
            std::abs(magnitude(*n) + p.power) > maxPowerOfTen)
            return fail(error, 0,
                        QStringLiteral("value '%1' out of range: magnitudes go from 1e-%2 to 1e%2")
                            .arg(word)
                            .arg(maxPowerOfTen));
    }
    GiNaC::numeric number = integerOf(t->digits) * powerOfTen(t->exponent);
    if (denominator)
        number /= integerOf(denominator->digits) * powerOfTen(denominator->exponent);
    v.number = (t->negative ? -number : number) * powerOfTen(p.power);
    v.fraction = denominator.has_value();
    v.place = t->exponent + p.power;
    v.significant = t->significant();
    *prefixed = p.length > 0 && !rkmMarker;
    return true;
}
} // namespace

bool isSymbolName(QStringView word)
{
    if (word.isEmpty())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

std::optional<Value> readValue(QStringView text, ValueError *error)
{
    // Words and where each starts.
    QList<std::pair<QString, int>> words;
    for (qsizetype i = 0; i < text.size();) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        if (i > start)
            words.append({text.mid(start, i - start).toString(), int(start)});
    }
    if (words.isEmpty()) {
        fail(error, 0, QStringLiteral("no value: %1").arg(expectedNumber));
        return std::nullopt;
    }
    if (words.size() > 2) {
        fail(error, words[2].second,
             QStringLiteral("unexpected '%1' after the value").arg(words[2].first));
        return std::nullopt;
    }
    const int length = words.back().second + int(words.back().first.size()) - words[0].second;
    if (length > maxValueLength) {
        fail(error, words[0].second,
             QStringLiteral("value too long: at most %1 characters").arg(maxValueLength));
        return std::nullopt;
    }
    Value v;
    QString word = words[0].first;
    word.replace(QChar(0x2212), QLatin1Char('-'));
    const QChar first = word.front();
    bool prefixed = false;
    if (first.isLetter() || first == QLatin1Char('_')) {
        if (!isSymbolName(word)) {
            fail(error, words[0].second,
                 QStringLiteral("bad symbol name '%1': a symbol is a letter, then letters, "
                                "digits or _")
                     .arg(word));
            return std::nullopt;
        }
        v.isSymbol = true;
        v.symbol = word;
        prefixed = true; // a symbol takes a bare unit
    } else {
        ValueError e;
        if (!readNumberWord(word, v, &prefixed, &e)) {
            fail(error, words[0].second + e.offset, e.message);
            return std::nullopt;
        }
    }
    if (words.size() == 2) {
        if (v.unit != ValueUnit::None) {
            fail(error, words[1].second,
                 QStringLiteral("two units: '%1' after '%2'").arg(words[1].first, word));
            return std::nullopt;
        }
        QString message;
        const auto unit = readUnitWord(words[1].first, !prefixed, &message);
        if (!unit) {
            fail(error, words[1].second, message);
            return std::nullopt;
        }
        v.unit = unit->first;
        if (unit->second != 0) {
            v.number *= powerOfTen(unit->second);
            v.place += unit->second;
        }
    }
    return v;
}

QString canonicalNumber(const GiNaC::numeric &value)
{
    auto text = [](const GiNaC::numeric &n) {
        std::ostringstream out;
        out << n;
        return QString::fromStdString(out.str());
    };
    if (value.is_zero())
        return QStringLiteral("0");
    // A terminating decimal: denominator 2^a 5^b.
    GiNaC::numeric den = value.denom();
    int twos = 0, fives = 0;
    while (GiNaC::irem(den, 2).is_zero())
        den = den / 2, ++twos;
    while (GiNaC::irem(den, 5).is_zero())
        den = den / 5, ++fives;
    if (den != 1)
        return text(value);
    const int decimals = std::max(twos, fives);
    const GiNaC::numeric digits = GiNaC::abs(value) * powerOfTen(decimals); // an integer
    QString all = text(digits);
    int exponent = -decimals;
    while (all.size() > 1 && all.endsWith(QLatin1Char('0')))
        all.chop(1), ++exponent;
    if (all.size() > 15)
        return text(value);
    // An engineering prefix puts the leading digit's power into 0, 1 or 2.
    const int lead = exponent + int(all.size()) - 1;
    int power = lead >= 0 ? lead / 3 * 3 : -((-lead + 2) / 3 * 3);
    power = std::clamp(power, -15, 12);
    static const char *const prefixes[] = {"f", "p", "n", "u", "m", "", "k", "meg", "g", "t"};
    const int shift = exponent - power; // digits · 10^shift
    QString mantissa;
    if (shift >= 0) {
        mantissa = all + QString(shift, QLatin1Char('0'));
    } else {
        const int point = int(all.size()) + shift;
        mantissa = point > 0 ? all.left(point) + QLatin1Char('.') + all.mid(point)
                             : QStringLiteral("0.") + QString(-point, QLatin1Char('0')) + all;
    }
    return (value.is_negative() ? QStringLiteral("-") : QString()) + mantissa +
           QLatin1String(prefixes[(power + 15) / 3]);
}

QString canonicalValue(const Value &value)
{
    QString text = value.isSymbol ? value.symbol : canonicalNumber(value.number);
    if (value.unit == ValueUnit::Siemens)
        text += value.isSymbol ? QStringLiteral(" S") : QStringLiteral("S");
    return text;
}

} // namespace kvadra::circuit
