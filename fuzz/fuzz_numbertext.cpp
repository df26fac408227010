// libFuzzer target for the number texts. Every input is tried in each locale below:
//  - as typed text (UTF-8): readNumber either throws CalcError or gives a finite double, and
//    readTypedNumber takes exactly the same texts, with digits and a place of the last one that
//    make the same value (the circuit core's judge is fuzzed with the netlists);
//  - its first eight bytes as a double: if finite, writeNumber's text reads back to the value
//    rounded to 15 significant digits, and writing that again gives the same text; shortened to
//    any number of digits it keeps its sign and its power of ten.
// Any violation aborts, which libFuzzer reports as a crash with the input saved.
#include "twoport/calcerror.h"
#include "twoport/numbertext.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{
// Point and comma locales; fr_FR adds a non-ASCII group separator (U+202F) to reject.
const std::array<QLocale, 4> &locales()
{
    static const std::array<QLocale, 4> all{
        QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France)};
    return all;
}

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s in locale %s: \"%s\"\n", what, qPrintable(QLocale().name()),
                 text.toUtf8().constData());
    std::abort();
}

void checkText(const QString &text)
{
    double read = 0;
    bool readable = true;
    try {
        read = kvadra::readNumber(text);
        if (!std::isfinite(read))
            fail("accepted a non-finite value", text);
    } catch (const kvadra::CalcError &) {
        readable = false;
    }
    kvadra::TypedNumber typed;
    try {
        typed = kvadra::readTypedNumber(text);
    } catch (const kvadra::CalcError &) {
        if (readable)
            fail("read as a number but not with its digits", text);
        return;
    }
    if (!readable)
        fail("read with its digits but not as a number", text);
    if (typed.value != read)
        fail("read with its digits as another value", text);
    // The digits and their place say the value: at most 17 digits of the mantissa matter to a
    // double, so only a close agreement can be asked of the long ones (and none of subnormals,
    // which hold fewer).
    const QString digits = typed.digits.left(17);
    const int place = typed.exponent + int(typed.digits.size() - digits.size());
    const double fromDigits =
        (typed.negative ? -1 : 1) *
        std::strtod(qPrintable(digits + "e" + QString::number(place)), nullptr);
    if (std::abs(read) >= std::numeric_limits<double>::min() &&
        std::abs(fromDigits - read) > 1e-15 * std::abs(read))
        fail("digits and place say another value", text);
}

// Shortened to any number of digits, a written value keeps its sign and its power of ten: its
// exponent is the one the C library writes for the 15-digit value.
void checkShortened(double value, const QString &text)
{
    if (value == 0)
        return;
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.14e", value);
    const int power = std::atoi(std::strchr(scientific, 'e') + 1);
    for (int digits = 1; digits <= 15; ++digits) {
        const QString shown = kvadra::abbreviateNumber(text, digits);
        const qsizetype e = shown.indexOf(QLatin1Char('E'));
        if (e < 0 || shown.startsWith('-') != (value < 0) ||
            QString(shown).remove(0, e + 1).replace(QLocale().negativeSign(), "-").toInt() != power)
            fail("shortened text lost its sign or power of ten", shown + " from " + text);
    }
}

// The value written to 15 significant digits by the C library (not Qt) in the given rounding
// mode, read back.
double cRounded(double value, int mode)
{
    char decimal[40];
    std::fesetround(mode);
    std::snprintf(decimal, sizeof decimal, "%.14e", value);
    std::fesetround(FE_TONEAREST);
    return std::strtod(decimal, nullptr);
}

// Exactly halfway between two 15-digit decimals, where rounding may go either way: Qt rounds
// such a tie away from zero, the C library to even. Sixty decimals show every such value exactly.
bool isTie(double value)
{
    char digits[80];
    std::snprintf(digits, sizeof digits, "%.60e", std::fabs(value));
    // "d.ddd...": the sixteenth significant digit sits at index 16.
    if (digits[16] != '5')
        return false;
    for (const char *p = digits + 17; *p != 'e'; ++p)
        if (*p != '0')
            return false;
    return true;
}

void checkRoundTrip(double value)
{
    if (!std::isfinite(value))
        return;
    const QString text = kvadra::writeNumber(value);
    double back = 0;
    try {
        back = kvadra::readNumber(text);
    } catch (const kvadra::CalcError &) {
        fail("cannot read back a written value", text);
    }
    // Next to the largest double the nearest 15-digit decimal is beyond it, so no double can
    // carry it; there the one toward zero is the closest text that reads back.
    const double expected = cRounded(value, FE_TONEAREST);
    const bool nearest =
        std::isfinite(expected) ? back == expected : back == cRounded(value, FE_TOWARDZERO);
    const bool tie = isTie(value) &&
                     (back == cRounded(value, FE_UPWARD) || back == cRounded(value, FE_DOWNWARD));
    if (!nearest && !tie)
        fail("read back a value other than the 15-digit one", text);
    if (kvadra::writeNumber(back) != text)
        fail("text changed on a second write", text);
    checkShortened(back, text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    double value = 0;
    const bool hasValue = size >= sizeof value;
    if (hasValue)
        std::memcpy(&value, data, sizeof value);
    for (const QLocale &locale : locales()) {
        QLocale::setDefault(locale);
        checkText(text);
        if (hasValue)
            checkRoundTrip(value);
    }
    return 0;
}
