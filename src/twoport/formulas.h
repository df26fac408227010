#pragma once

#include "twoport/catalogue.h"

#include <QtGlobal>

#include <array>

namespace kvadra
{

// Entries 11, 12, 21, 22 in this order, in display units.
using Matrix = std::array<double, 4>;

// How one entry comes from the element values E1, E2, E3 in base units:
// [-]( (E_first [+ E_second]) [/ Δ] ), with Δ = E3·E1 + E1·E2 + E3·E2 evaluated left to right.
// The calculation and the explanation shown to the student both read these, so they cannot
// drift apart.
struct EntryFormula {
    bool negate;
    int first;  // element 1 to 3
    int second; // element 1 to 3, or 0 for none
    bool overDeterminant;
};

struct ProcedureFormula {
    bool inverse; // computes Δ first
    std::array<EntryFormula, 4> entries;
};

const ProcedureFormula &procedureFormula(Procedure procedure);

// Whether the procedure gives Z (else Y), and whether it takes resistances (else conductances).
bool givesZ(Procedure procedure);
bool takesResistances(Procedure procedure);

// The numbers of one run in base units (ohm, siemens), for showing the working with the very
// values the result came from.
struct ProcedureTrace {
    std::array<double, 3> elements{}; // E1, E2, E3
    std::array<double, 3> products{}; // E3·E1, E1·E2, E3·E2, for an inversion
    double det = 0;
    Matrix base{}; // the entries before the conversion to display units
    Matrix out{};  // and after it, as returned
};

// Runs a procedure on the element values 1, 2, 3 in display units (absent elements 0), with
// the unit powers as the shared state holds them. Inputs are converted, every value computed
// and checked, and the outputs converted before it returns, so a CalcError thrown anywhere
// leaves the caller with nothing to store. The order of every operation matters: the test
// solver compares results bit for bit across schematics.
Matrix runProcedure(Procedure procedure, double e1, double e2, double e3, qint16 ohmDisplay,
                    qint16 siemensDisplay, ProcedureTrace *trace = nullptr);

} // namespace kvadra
