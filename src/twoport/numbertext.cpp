#include "twoport/numbertext.h"

#include "twoport/calcerror.h"

#include <QLocale>

#include <algorithm>
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

std::optional<TypedNumber> scanDecimal(QStringView text, qsizetype *length)
{
    // Exponents beyond this are no value a student means; they would only make exact readings huge.
    constexpr int exponentLimit = 9999;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digitAt = [&](qsizetype k) {
        return k < n && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9');
    };
    TypedNumber t;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        t.negative = text[i++] == QLatin1Char('-');
    QString all;
    int fraction = 0;
    bool point = false;
    for (; i < n; ++i) {
        if (digitAt(i)) {
            all += text[i];
            fraction += point ? 1 : 0;
        } else if (!point && (text[i] == QLatin1Char('.') || text[i] == QLatin1Char(','))) {
            point = true;
        } else {
            break;
        }
    }
    if (all.isEmpty())
        return std::nullopt;
    int exponent = 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype k = i + 1;
        bool negative = false;
        if (k < n && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-')))
            negative = text[k++] == QLatin1Char('-');
        if (digitAt(k)) {
            for (; digitAt(k); ++k) {
                exponent = exponent * 10 + (text[k].unicode() - '0');
                if (exponent > exponentLimit)
                    return std::nullopt;
            }
            exponent = negative ? -exponent : exponent;
            i = k;
        }
    }
    qsizetype first = 0;
    while (first < all.size() && all[first] == QLatin1Char('0'))
        ++first;
    t.digits = first == all.size() ? QStringLiteral("0") : all.mid(first);
    t.exponent = exponent - fraction;
    if (length)
        *length = i;
    return t;
}

TypedNumber readTypedNumber(const QString &text)
{
    const double value = readNumber(text);
    const QString trimmed = text.trimmed();
    qsizetype length = 0;
    std::optional<TypedNumber> t = scanDecimal(trimmed, &length);
    // A spelling only the locale knows: its digits are those of the double.
    if (!t || length != trimmed.size())
        t = scanDecimal(QLocale::c().toString(value, 'g', 17));
    t->value = value;
    return *t;
}

namespace
{
QString fifteenDigits(double value, QLocale locale)
{
    // The largest doubles round up past DBL_MAX at 15 digits, to a text that reads back as an
    // overflow; round those toward zero instead, so every shown result can be typed in again.
    constexpr double largest = 1.79769313486231e308;
    if (std::fabs(value) > largest)
        value = std::copysign(largest, value);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'G', 15);
}
} // namespace

QString writeNumber(double value)
{
    return fifteenDigits(value, QLocale());
}

QString latexNumber(double value)
{
    QString text = fifteenDigits(value, QLocale::c());
    QString power;
    if (const qsizetype e = text.indexOf(QLatin1Char('E')); e >= 0) {
        power = QString::number(text.mid(e + 1).toInt());
        text.truncate(e);
    }
    if (decimalSeparator() == QLatin1Char(','))
        text.replace(QLatin1Char('.'), QStringLiteral("{,}"));
    if (!power.isEmpty())
        text += QStringLiteral("\\cdot 10^{") + power + QLatin1Char('}');
    return text;
}

QString abbreviateNumber(const QString &text, int digits)
{
    const QLocale locale;
    QStringView rest(text);
    QString sign;
    if (!rest.isEmpty() && !rest.front().isDigit()) {
        sign = rest.front();
        rest = rest.mid(1);
    }
    // "E" in most locales, "×10^" in some.
    const QString exponential = locale.exponential().toUpper();
    int exponent = 0;
    if (const qsizetype e = rest.indexOf(exponential, 0, Qt::CaseInsensitive); e >= 0) {
        QString power = rest.mid(e + exponential.size()).toString();
        // The locale's own signs, which need not be ASCII.
        power.replace(locale.negativeSign(), QStringLiteral("-"));
        power.replace(locale.positiveSign(), QString());
        bool ok = false;
        exponent = power.toInt(&ok);
        if (!ok)
            return QString();
        rest = rest.left(e);
    }
    QString all; // every digit of the mantissa
    qsizetype point = -1;
    QChar separator = decimalSeparator();
    for (QChar c : rest) {
        if (c.isDigit()) {
            all += c;
        } else if (point < 0 && !all.isEmpty()) {
            point = all.size();
            separator = c;
        } else {
            return QString();
        }
    }
    if (all.isEmpty() || digits < 1)
        return QString();
    if (point < 0)
        point = all.size();
    const qsizetype zeros =
        std::find_if(all.begin(), all.end(), [](QChar c) { return c != '0'; }) - all.begin();
    if (zeros == all.size())
        return sign + QLatin1Char('0');
    QString significant = all.mid(zeros);
    while (significant.endsWith(QLatin1Char('0')))
        significant.chop(1);
    const int power = exponent + int(point - zeros) - 1;
    const bool cut = significant.size() > digits;
    significant.truncate(digits);
    QString out = sign + significant.front();
    if (significant.size() > 1)
        out += separator + significant.mid(1);
    if (cut)
        out += QChar(0x2026);
    return out + exponential + (power < 0 ? locale.negativeSign() : locale.positiveSign()) +
           QStringLiteral("%1").arg(std::abs(power), 2, 10, QLatin1Char('0'));
}

} // namespace kvadra
