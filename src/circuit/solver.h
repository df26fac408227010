#pragma once

// Modified nodal analysis with the ports as branches, exact or symbolic. Internal to the circuit
// core.

#include "circuit/netlist.h"

#include <ginac/ex.h>

#include <array>
#include <atomic>
#include <map>
#include <optional>
#include <vector>

namespace kvadra::circuit
{

// The port quantities, the last four columns of every system; I1 and I2 flow into the ports.
enum PortQuantity { V1 = 0, I1 = 1, V2 = 2, I2 = 3 };

// Thrown between elimination steps when the cancel flag is set.
struct Cancelled {
};
// Thrown when a symbolic entry grows past what is worth computing.
struct TooLarge {
};

// What an element is once its value is known.
struct ElementState {
    enum Kind { Valued, Wire, Open } kind = Valued;
    // R: its conductance; E, F: the ratio; G: the transconductance; H: the transresistance.
    GiNaC::ex value;
};

struct Work {
    const std::atomic<bool> *cancel = nullptr;
    int termCap = 0; // 0: numbers only
    // Polynomial work done and allowed, counted in term products: what multiplying and
    // dividing polynomials costs. Past the budget the work stops with TooLarge.
    mutable long long spent = 0;
    long long budget = 0;
    void check() const
    {
        if (cancel && cancel->load())
            throw Cancelled{};
    }
    void charge(long long terms) const
    {
        spent += terms;
        if (budget > 0 && spent > budget)
            throw TooLarge{};
    }
};

// Rows over columns of unknowns and inputs, with the divisor of fraction-free elimination.
struct Rows {
    std::vector<std::vector<GiNaC::ex>> rows;
    GiNaC::ex divisor = 1;
};

// The port quantities' relation: every row r holds r · (V1, I1, V2, I2) = 0. The network's
// internal unknowns (node voltages, branch currents) are eliminated; parts of the network that
// no element joins each have their own reference node.
Rows portRelation(const Netlist &net, const std::vector<ElementState> &states, const Work &work);

// Solves rows for the unknown columns in terms of the input columns, by fraction-free
// Gauss-Jordan elimination, as far as they determine them.
struct Solved {
    Rows m;
    std::vector<int> pivotRow; // by column: the row that fixes it, or -1
    std::vector<int> unknowns, inputs;
    GiNaC::ex pivot = 1; // every pivot entry is this value after Gauss-Jordan
    // Rows left with no unknown: relations among the inputs alone. Empty when the inputs may
    // take any values.
    std::vector<std::vector<GiNaC::ex>> constraints; // by input, in `inputs` order
    // Whether an unknown has one value for every input.
    bool determined(int column) const;
    bool unique() const; // every unknown determined, no constraint
    // d unknown / d input, as numerator over `pivot`.
    GiNaC::ex numerator(int unknown, int input) const;
    GiNaC::ex value(int unknown, int input) const;
};
Solved solve(Rows rows, const std::vector<int> &unknowns, const std::vector<int> &inputs,
             const Work &work);

// The 2x2 minors of a relation of two rows (by the columns' pair, d[a][b] = -d[b][a]), each
// divided by the elimination's divisor, so they are minors of the whole system: every set's
// test is read off them at the cost of six products instead of an elimination each.
struct Minors {
    bool valid = false;
    std::array<std::array<GiNaC::ex, 4>, 4> d;
};
Minors minorsOf(const Rows &relation, const Work &work);
// The test of two unknowns where their minor is not zero: by Cramer's rule.
std::optional<Solved> solveByMinors(const Minors &minors, const std::array<int, 2> &unknowns,
                                    const std::array<int, 2> &inputs);

// Exact quotient of two polynomials (or numbers) that divide.
GiNaC::ex exactQuotient(const GiNaC::ex &a, const GiNaC::ex &b);

} // namespace kvadra::circuit
