#include "twoport/numbertext.h"

#include "twoport/calcerror.h"

#include <QLocale>

#include <cmath>

namespace kvadra
{

QChar decimalSeparator()
{
    return QLocale().toString(0.5).at(1);
}

double readNumber(const QString &text)
{
    const QChar sep = decimalSeparator();
    QString normalized = text;
    normalized.replace(QLatin1Char('.'), sep);
    normalized.replace(QLatin1Char(','), sep);

    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(normalized, &ok);
    // Qt reads "inf" and "nan" as numbers; a student's value never is one.
    if (!ok || !std::isfinite(value))
        throw CalcError("not a number");
    return value;
}

QString writeNumber(double value)
{
    // The largest doubles round up past DBL_MAX at 15 digits, to a text that reads back as an
    // overflow; round those toward zero instead, so every shown result can be typed in again.
    constexpr double largest = 1.79769313486231e308;
    if (std::fabs(value) > largest)
        value = std::copysign(largest, value);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'G', 15);
}

} // namespace kvadra
