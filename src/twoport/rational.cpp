#include "twoport/rational.h"

#include "twoport/numbertext.h"

namespace kvadra
{

namespace
{
RationalInt gcd(RationalInt a, RationalInt b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const RationalInt t = a % b;
        a = b;
        b = t;
    }
    return a;
}

QString digitsOf(RationalInt v)
{
    QString s;
    do {
        s.prepend(QChar('0' + int(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

std::optional<RationalInt> product(RationalInt a, RationalInt b)
{
    RationalInt r;
    if (__builtin_mul_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

std::optional<RationalInt> sum(RationalInt a, RationalInt b)
{
    RationalInt r;
    if (__builtin_add_overflow(a, b, &r))
        return std::nullopt;
    return r;
}
} // namespace

std::optional<Rational> Rational::make(RationalInt num, RationalInt den)
{
    if (den == 0)
        return std::nullopt;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const RationalInt g = gcd(num, den);
    Rational r;
    r.m_num = g > 1 ? num / g : num;
    r.m_den = g > 1 ? den / g : den;
    return r;
}

std::optional<Rational> Rational::powerOfTen(int power)
{
    if (power > 36 || power < -36)
        return std::nullopt;
    RationalInt p = 1;
    for (int i = 0; i < (power < 0 ? -power : power); ++i)
        p *= 10;
    return power < 0 ? make(1, p) : make(p, 1);
}

std::optional<Rational> Rational::fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype length = 0;
    const std::optional<TypedNumber> t = scanDecimal(trimmed, &length);
    if (!t || length != trimmed.size() || t->digits.size() > 36)
        return std::nullopt;
    RationalInt num = 0;
    for (QChar c : t->digits)
        num = num * 10 + (c.unicode() - '0');
    return make(t->negative ? -num : num, 1) * powerOfTen(t->exponent);
}

std::optional<QString> Rational::text(int digits) const
{
    const RationalInt magnitude = m_num < 0 ? -m_num : m_num;
    const QString num = digitsOf(magnitude), den = digitsOf(m_den);
    if (num.size() > digits || den.size() > digits)
        return std::nullopt;
    return (m_num < 0 ? QStringLiteral("-") : QString()) + num +
           (m_den == 1 ? QString() : QLatin1Char('/') + den);
}

Rational Rational::operator-() const
{
    Rational r = *this;
    r.m_num = -r.m_num;
    return r;
}

std::optional<Rational> operator+(const Rational &a, const Rational &b)
{
    const auto left = product(a.m_num, b.m_den), right = product(b.m_num, a.m_den);
    const auto den = product(a.m_den, b.m_den);
    if (!left || !right || !den)
        return std::nullopt;
    const auto num = sum(*left, *right);
    return num ? Rational::make(*num, *den) : std::nullopt;
}

std::optional<Rational> operator-(const Rational &a, const Rational &b)
{
    return a + (-b);
}

std::optional<Rational> operator*(const Rational &a, const Rational &b)
{
    // Cross-reducing first keeps the numbers small.
    const RationalInt g1 = gcd(a.m_num, b.m_den), g2 = gcd(b.m_num, a.m_den);
    const auto num = product(g1 > 1 ? a.m_num / g1 : a.m_num, g2 > 1 ? b.m_num / g2 : b.m_num);
    const auto den = product(g2 > 1 ? a.m_den / g2 : a.m_den, g1 > 1 ? b.m_den / g1 : b.m_den);
    return num && den ? Rational::make(*num, *den) : std::nullopt;
}

std::optional<Rational> operator/(const Rational &a, const Rational &b)
{
    if (b.m_num == 0)
        return std::nullopt;
    Rational inverse;
    inverse.m_num = b.m_den;
    inverse.m_den = b.m_num;
    if (inverse.m_den < 0) {
        inverse.m_num = -inverse.m_num;
        inverse.m_den = -inverse.m_den;
    }
    return a * inverse;
}

MaybeRational operator+(const MaybeRational &a, const MaybeRational &b)
{
    return a && b ? *a + *b : std::nullopt;
}

MaybeRational operator-(const MaybeRational &a, const MaybeRational &b)
{
    return a && b ? *a - *b : std::nullopt;
}

MaybeRational operator*(const MaybeRational &a, const MaybeRational &b)
{
    return a && b ? *a * *b : std::nullopt;
}

MaybeRational operator/(const MaybeRational &a, const MaybeRational &b)
{
    return a && b ? *a / *b : std::nullopt;
}

} // namespace kvadra
