#pragma once

// A student's typed value or formula against one exact value. Internal to the circuit core.

#include "circuit/engine.h"
#include "circuit/symbols.h"

#include <ginac/ex.h>

namespace kvadra::circuit
{

// A wrong value one of the usual slips gives, in the display unit of the value judged, and the
// same slip as a formula in the symbols; with its words.
struct Slip {
    std::optional<GiNaC::numeric> number;
    std::optional<GiNaC::ex> formula;
    QString brief, text;
};

struct JudgeTarget {
    QString name;                         // "z11", "Zin"
    std::optional<GiNaC::numeric> number; // in the display unit; nothing while symbols lack values
    std::optional<GiNaC::ex> formula;     // in the symbols, where known
    Quantity kind = Quantity::None;
    int unitPower = 0; // the display unit's power of ten over the base unit
    QString working;
    QStringList unvalued;
    std::vector<Slip> slips; // most likely first
};

// 10^power, exactly.
GiNaC::numeric tenTo(int power);

// The slips any value is open to, most likely first: its sign lost, and a unit prefix taken the
// wrong way (off by a factor of 1000 or a million either way). `shown`: the value as the student
// reads it, with its unit.
void addSignAndPrefixSlips(JudgeTarget &target, const QString &shown);

// The symbols a typed formula may use, with their values where they have them.
struct FormulaContext {
    SymbolTable *table = nullptr;
    QStringList names;
    GiNaC::exmap values;
};

Verdict judgeTyped(const QString &typed, const JudgeTarget &target, const FormulaContext &context);

// A formula in the symbols as a student types it ("(R2 + R3)/(R1·R2 + R1·R3 + R2·R3)"): + - * /
// ^ and parentheses, · × and − too; numbers with a point or a comma. Nothing, with the reason,
// for anything else.
std::optional<GiNaC::ex> readFormula(const QString &typed, const FormulaContext &context,
                                     QString *error);

} // namespace kvadra::circuit
