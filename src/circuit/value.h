#pragma once

// Element values as a netlist spells them, read exactly; also what a student types into a check
// box. Internal to the circuit core: GiNaC types appear here.

#include <QString>
#include <QStringView>

#include <ginac/numeric.h>

#include <optional>

namespace kvadra::circuit
{

// Limits that keep any text cheap to read and to solve.
inline constexpr int maxValueLength = 40;
inline constexpr int maxPowerOfTen = 30; // magnitudes between 1e-30 and 1e30

enum class ValueUnit { None, Ohm, Siemens };

struct Value {
    bool isSymbol = false;
    GiNaC::numeric number; // as written, times its prefix; in the unit written
    QString symbol;
    ValueUnit unit = ValueUnit::None;
    bool fraction = false; // p/q: an exact value, no last digit
    // The power of ten of the last digit written, prefix included ("2k2": 2, "0.450": -3), and
    // how many significant digits were written; for judging typed decimals.
    int place = 0;
    int significant = 0;
    bool zeroWritten() const { return !isSymbol && number.is_zero(); }
};

struct ValueError {
    int offset = 0; // where in the text, from 0
    QString message;
};

// One value: a number ("1500", "1.5e3", "1,5e3", "5/11", "-2"), a prefix (f p n u µ m k meg g
// t; K, G, T and any case of meg too; a lone M is refused), an RKM code ("2k2", "4R7", "1meg5"),
// a unit attached or as a second word (Ω, ohm, S; the second word may carry the prefix
// instead), or a symbol name, optionally followed by its unit as a second word ("G1 S").
// Whitespace separates the words; anything more is an error.
std::optional<Value> readValue(QStringView text, ValueError *error);

// Whether a word can name a symbol: a letter or _, then letters, digits or _ (ASCII).
bool isSymbolName(QStringView word);

// A number written back the way a netlist spells it: the shortest decimal with an SI prefix
// where the value has at most 15 significant digits ("1.5k", "4.7m", "-2meg", "0"), otherwise
// a reduced fraction ("5/11"); with " S" or nothing for the unit. readValue reads it back to the
// same number.
QString canonicalNumber(const GiNaC::numeric &value);
QString canonicalValue(const Value &value);

} // namespace kvadra::circuit
