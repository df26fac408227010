#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace kvadra
{

// Number texts as the calculators read and write them, always in the default QLocale, so a
// user's LC_NUMERIC / LANG is honoured and tests can switch with QLocale::setDefault.

// The locale's decimal separator, asked afresh on every call.
QChar decimalSeparator();

// A decimal number with the digits it was written with: exactly ±digits · 10^exponent, and
// `exponent` is also the place of the last digit written ("0.450" is 450 · 10^-3).
struct TypedNumber {
    double value = 0; // the double the calculators compute with
    bool negative = false;
    QString digits; // every digit written, leading zeros dropped; "0" for zero
    int exponent = 0;
    // The significant digits written, from the first that is not 0; at least 1.
    int significant() const { return digits == QLatin1String("0") ? 1 : int(digits.size()); }
};

// A typed value: every "." and then every "," becomes the decimal separator, then the locale
// converts. Blanks around the number and exponents are accepted; anything else that is not a
// finite double (empty text, two separators, "inf", "nan", 1e999) throws CalcError.
double readNumber(const QString &text);
// The same reading, with the digits typed.
TypedNumber readTypedNumber(const QString &text);

// The decimal number at the start of `text`, whatever the locale: an optional sign, digits with
// at most one "." or "," among them, an optional exponent ("e" or "E", a sign, digits). Nothing
// when the text does not start with one; `length` gets how many characters it took. The value
// is left 0: the reading is exact, and a double is the caller's choice.
std::optional<TypedNumber> scanDecimal(QStringView text, qsizetype *length = nullptr);

// A result: at most 15 significant digits, no trailing zeros, the locale's separator, no digit
// grouping, exponent form for very small or very large magnitudes.
QString writeNumber(double value);

// A result as LaTeX math, the same in every locale but for the decimal separator: C digits, a
// decimal comma in braces (bare, math mode prints it as punctuation with a space after it), a
// power of ten as "\cdot 10^{-7}".
QString latexNumber(double value);

// A written number cut to its leading `digits` significant digits in exponent form, for a box too
// narrow for the whole text: "4.545…E-07" for "4.54545454545455E-07", "1.23…E+11" for
// "123456789013". The sign and the power of ten always stay; the mark … says digits were cut and
// is left out when none were ("1E+14"). Empty for a text that is not a written number.
QString abbreviateNumber(const QString &text, int digits);

} // namespace kvadra
