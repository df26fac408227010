#pragma once

#include <QChar>
#include <QString>

namespace kvadra
{

// Number texts as the calculators read and write them, always in the default QLocale, so a
// user's LC_NUMERIC / LANG is honoured and tests can switch with QLocale::setDefault.

// The locale's decimal separator, asked afresh on every call.
QChar decimalSeparator();

// A typed value: every "." and then every "," becomes the decimal separator, then the locale
// converts. Blanks around the number and exponents are accepted; anything else that is not a
// finite double (empty text, two separators, "inf", "nan", 1e999) throws CalcError.
double readNumber(const QString &text);

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
