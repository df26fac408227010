#pragma once

#include "twoport/parametersets.h"

#include <QString>

namespace kvadra
{

// What the program says about a value the student worked out by hand.
struct Verdict {
    enum Kind { Empty, Unreadable, Match, Slip, Unexplained } kind = Empty;
    QString brief; // a few words, for beside the value
    QString text;  // in full, with the value or the working
};

// Judges the student's text for one entry against every set of the same calculation (display
// units). It matches when it agrees with the value to the digits typed (a last digit off by one
// counts as rounding); otherwise the most likely slip is named: a lost sign, a unit prefix, the
// reciprocal of the other set's entry, another entry, the determinant or its reciprocal, the
// same entry of another set, rounding too early.
Verdict judge(const QString &typed, ParameterSet set, int entry,
              const std::array<std::optional<SetResult>, 5> &sets);

} // namespace kvadra
