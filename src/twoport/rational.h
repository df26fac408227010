#pragma once

#include <QString>

#include <optional>

namespace kvadra
{

__extension__ typedef __int128 RationalInt; // a GCC and clang extension, named once

// An exact fraction, always reduced, the denominator positive. Arithmetic that would leave
// 128-bit integers gives nothing, never a wrong value.
class Rational
{
public:
    Rational() = default;
    Rational(long long integer) : m_num(integer) {}

    // A typed value as the calculators read it (a point or a comma, an optional exponent),
    // exactly; nothing for a text that is not such a number.
    static std::optional<Rational> fromText(const QString &text);
    // 10 to a power, for the unit powers.
    static std::optional<Rational> powerOfTen(int power);

    bool isZero() const { return m_num == 0; }
    double toDouble() const { return double(m_num) / double(m_den); }
    bool isInteger() const { return m_den == 1; }
    // "5/11", "-2/3", "7"; nothing when numerator or denominator has more than `digits` digits.
    std::optional<QString> text(int digits) const;

    friend std::optional<Rational> operator+(const Rational &a, const Rational &b);
    friend std::optional<Rational> operator-(const Rational &a, const Rational &b);
    friend std::optional<Rational> operator*(const Rational &a, const Rational &b);
    friend std::optional<Rational> operator/(const Rational &a, const Rational &b);
    Rational operator-() const;

private:
    static std::optional<Rational> make(RationalInt num, RationalInt den);

    RationalInt m_num = 0;
    RationalInt m_den = 1;
};

// Arithmetic on possibly missing fractions: nothing in, nothing out.
using MaybeRational = std::optional<Rational>;
MaybeRational operator+(const MaybeRational &a, const MaybeRational &b);
MaybeRational operator-(const MaybeRational &a, const MaybeRational &b);
MaybeRational operator*(const MaybeRational &a, const MaybeRational &b);
MaybeRational operator/(const MaybeRational &a, const MaybeRational &b);

} // namespace kvadra
