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

} // namespace kvadra
