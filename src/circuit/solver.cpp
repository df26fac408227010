#include "circuit/solver.h"

#include <ginac/ginac.h>

#include <numeric>
#include <optional>

namespace kvadra::circuit
{

GiNaC::ex exactQuotient(const GiNaC::ex &a, const GiNaC::ex &b)
{
    if (a.is_zero())
        return 0;
    if (GiNaC::is_a<GiNaC::numeric>(b))
        return b.is_equal(GiNaC::ex(1)) ? a : (a / b).expand();
    GiNaC::ex q;
    // The quotient comes collected in one variable; terms are counted and multiplied expanded.
    if (GiNaC::divide(a, b, q))
        return q.expand();
    // Fraction-free elimination divides exactly; this keeps a wrong divisor from being silent.
    throw std::logic_error("inexact division in fraction-free elimination");
}

namespace
{
int termsOf(const GiNaC::ex &e)
{
    return GiNaC::is_a<GiNaC::add>(e) ? int(e.nops()) : 1;
}

void appendProduct(GiNaC::exvector &terms, const GiNaC::ex &a, const GiNaC::ex &b, int sign)
{
    const size_t na = GiNaC::is_a<GiNaC::add>(a) ? a.nops() : 1;
    const size_t nb = GiNaC::is_a<GiNaC::add>(b) ? b.nops() : 1;
    for (size_t i = 0; i < na; ++i)
        for (size_t j = 0; j < nb; ++j) {
            const GiNaC::ex x = na > 1 ? a.op(i) : a, y = nb > 1 ? b.op(j) : b;
            terms.push_back(sign < 0 ? -(x * y) : x * y);
        }
}

// p·a − f·b for expanded polynomials, expanded. GiNaC's own expansion adds the products one at
// a time, which grows with the square of the terms; one sum built from all of them at once
// sorts and combines them instead.
GiNaC::ex crossDifference(const GiNaC::ex &p, const GiNaC::ex &a, const GiNaC::ex &f,
                          const GiNaC::ex &b)
{
    GiNaC::exvector terms;
    if (!a.is_zero())
        appendProduct(terms, p, a, 1);
    if (!f.is_zero() && !b.is_zero())
        appendProduct(terms, f, b, -1);
    return GiNaC::ex(GiNaC::add(terms));
}

class Builder
{
public:
    Builder(const Netlist &net, const std::vector<ElementState> &states)
        : m_net(net), m_states(states)
    {
    }
    Rows build(int *internal);

private:
    int find(int n)
    {
        while (m_parent[size_t(n)] != n)
            n = m_parent[size_t(n)] = m_parent[size_t(m_parent[size_t(n)])];
        return n;
    }
    void join(int a, int b) { m_parent[size_t(find(a))] = find(b); }
    void add(int row, int column, const GiNaC::ex &value)
    {
        if (row >= 0 && column >= 0)
            m_rows[size_t(row)][size_t(column)] += value;
    }

    const Netlist &m_net;
    const std::vector<ElementState> &m_states;
    std::vector<int> m_parent;
    std::vector<std::vector<GiNaC::ex>> m_rows;
};

Rows Builder::build(int *internal)
{
    const int nodes = int(m_net.nodes.size());
    m_parent.resize(size_t(nodes));
    std::iota(m_parent.begin(), m_parent.end(), 0);
    const auto &elements = m_net.elements;
    // Every element joins the nodes whose voltage difference it involves, ports included: a
    // port terminal connected to nothing else must not become a part of its own.
    for (size_t i = 0; i < elements.size(); ++i) {
        const Element &e = elements[i];
        if (e.kind == QLatin1Char('R') && m_states[i].kind == ElementState::Open)
            continue;
        join(e.nodes[0], e.nodes[1]);
        if (e.nodes.size() == 4)
            join(e.nodes[2], e.nodes[3]);
    }
    // Each part's reference: node 0 where the part holds it, else its first node.
    std::vector<int> reference(size_t(nodes), -1);
    for (int n = 0; n < nodes; ++n)
        if (reference[size_t(find(n))] < 0)
            reference[size_t(find(n))] = n;
    if (m_net.ground >= 0)
        reference[size_t(find(m_net.ground))] = m_net.ground;
    std::vector<int> column(size_t(nodes), -1);
    int columns = 0;
    for (int n = 0; n < nodes; ++n)
        if (reference[size_t(find(n))] != n)
            column[size_t(n)] = columns++;
    std::vector<int> branch(elements.size(), -1);
    for (size_t i = 0; i < elements.size(); ++i) {
        const QChar k = elements[i].kind;
        if (k == QLatin1Char('V') || k == QLatin1Char('E') || k == QLatin1Char('H') ||
            (k == QLatin1Char('R') && m_states[i].kind == ElementState::Wire))
            branch[i] = columns++;
    }
    *internal = columns;
    const int portRows =
        int(std::count_if(m_net.ports.begin(), m_net.ports.end(), [](int p) { return p >= 0; }));
    m_rows.assign(size_t(columns + portRows), std::vector<GiNaC::ex>(size_t(columns + 4), 0));
    auto node = [&](const Element &e, int k) { return column[size_t(e.nodes[size_t(k)])]; };
    int portRow = columns;
    for (size_t i = 0; i < elements.size(); ++i) {
        const Element &e = elements[i];
        const GiNaC::ex &x = m_states[i].value;
        const int a = node(e, 0), b = node(e, 1);
        const QChar k = e.kind;
        if (branch[i] >= 0) {
            // A branch current from a through the element to b, and its voltage equation.
            const int j = branch[i];
            add(a, j, 1);
            add(b, j, -1);
            add(j, a, 1);
            add(j, b, -1);
            if (k == QLatin1Char('E')) {
                add(j, node(e, 2), -x);
                add(j, node(e, 3), x);
            } else if (k == QLatin1Char('H')) {
                add(j, branch[size_t(e.sense)], -x);
            }
        } else if (k == QLatin1Char('R')) {
            if (m_states[i].kind == ElementState::Valued) {
                add(a, a, x);
                add(a, b, -x);
                add(b, a, -x);
                add(b, b, x);
            }
        } else if (k == QLatin1Char('G')) {
            const int c = node(e, 2), d = node(e, 3);
            add(a, c, x);
            add(a, d, -x);
            add(b, c, -x);
            add(b, d, x);
        } else if (k == QLatin1Char('F')) {
            add(a, branch[size_t(e.sense)], x);
            add(b, branch[size_t(e.sense)], -x);
        } else if (k == QLatin1Char('P')) {
            const int v = columns + 2 * (e.port - 1), current = v + 1;
            // I flows in at a from outside and out at b.
            add(a, current, -1);
            add(b, current, 1);
            add(portRow, a, 1);
            add(portRow, b, -1);
            add(portRow, v, -1);
            ++portRow;
        }
    }
    return Rows{std::move(m_rows), 1};
}

// One entry after a fraction-free (Bareiss) step: (p·own − f·pivotEntry) / divisor, which
// divides exactly. The work is charged, nothing for a zero factor, and a result past the term
// cap stops it.
GiNaC::ex bareissStep(const GiNaC::ex &p, const GiNaC::ex &own, const GiNaC::ex &f,
                      const GiNaC::ex &pivotEntry, const GiNaC::ex &divisor, const Work &work)
{
    work.charge((own.is_zero() ? 0 : termsOf(p) * termsOf(own)) +
                (f.is_zero() || pivotEntry.is_zero() ? 0 : termsOf(f) * termsOf(pivotEntry)));
    const GiNaC::ex product = crossDifference(p, own, f, pivotEntry);
    work.charge(termsOf(product) * termsOf(divisor));
    const GiNaC::ex v = exactQuotient(product, divisor);
    if (work.termCap > 0 && termsOf(v) > work.termCap)
        throw TooLarge{};
    return v;
}

// The next pivot among the rows still active and the internal columns not yet used: the one
// whose row and column have the fewest other entries (Markowitz), so that elimination fills in
// as little as it can; among those the one of least `cost` (under 1000). Nothing when no entry is
// left.
template <typename Entry, typename Cost>
std::optional<std::pair<size_t, size_t>> sparsePivot(const std::vector<std::vector<Entry>> &a,
                                                     const std::vector<char> &active,
                                                     const std::vector<char> &used, Cost cost)
{
    const size_t n = a.size(), internal = used.size();
    std::vector<int> rowCount(n), columnCount(internal);
    for (size_t r = 0; r < n; ++r)
        if (active[r])
            for (size_t c = 0; c < internal; ++c)
                if (!used[c] && !a[r][c].is_zero())
                    ++rowCount[r], ++columnCount[c];
    long best = -1;
    std::pair<size_t, size_t> at;
    for (size_t r = 0; r < n; ++r)
        if (active[r] && rowCount[r] > 0)
            for (size_t c = 0; c < internal; ++c)
                if (!used[c] && !a[r][c].is_zero()) {
                    const long score =
                        long(rowCount[r] - 1) * long(columnCount[c] - 1) * 1000 + cost(a[r][c]);
                    if (best < 0 || score < best)
                        best = score, at = {r, c};
                }
    if (best < 0)
        return std::nullopt;
    return at;
}

// Numbers: Gaussian elimination with a pivot that keeps the rows sparse.
Rows eliminateNumbers(const std::vector<std::vector<GiNaC::ex>> &rows, int internal,
                      const Work &work)
{
    const size_t n = rows.size();
    const size_t width = rows.empty() ? 0 : rows[0].size();
    std::vector<std::vector<GiNaC::numeric>> a(n, std::vector<GiNaC::numeric>(width));
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < width; ++c) {
            if (!GiNaC::is_a<GiNaC::numeric>(rows[r][c]))
                throw std::logic_error("a symbol in a numeric system");
            a[r][c] = GiNaC::ex_to<GiNaC::numeric>(rows[r][c]);
        }
    std::vector<char> active(n, 1), used(size_t(internal), 0);
    std::vector<size_t> nonzero;
    for (;;) {
        work.check();
        const auto pivot = sparsePivot(a, active, used, [](const GiNaC::numeric &) { return 0; });
        if (!pivot)
            break;
        const auto [k, col] = *pivot;
        nonzero.clear();
        for (size_t c = 0; c < width; ++c)
            if (c != col && !a[k][c].is_zero())
                nonzero.push_back(c);
        const GiNaC::numeric p = a[k][col];
        for (size_t r = 0; r < n; ++r) {
            if (!active[r] || r == k || a[r][col].is_zero())
                continue;
            const GiNaC::numeric f = a[r][col] / p;
            for (size_t c : nonzero)
                a[r][c] -= f * a[k][c];
            a[r][col] = 0;
        }
        active[k] = 0;
        used[col] = 1;
    }
    Rows out;
    for (size_t r = 0; r < n; ++r)
        if (active[r]) {
            std::vector<GiNaC::ex> row;
            for (size_t c = size_t(internal); c < width; ++c)
                row.push_back(a[r][c]);
            out.rows.push_back(std::move(row));
        }
    return out;
}

// Polynomials: fraction-free (Bareiss) elimination, so every entry stays a polynomial.
Rows eliminatePolynomials(std::vector<std::vector<GiNaC::ex>> a, int internal, const Work &work)
{
    const size_t n = a.size();
    const size_t width = n == 0 ? 0 : a[0].size();
    std::vector<char> active(n, 1), used(size_t(internal), 0);
    GiNaC::ex divisor = 1;
    for (;;) {
        work.check();
        // Sparse first, then the smallest pivot.
        const auto pivot = sparsePivot(
            a, active, used, [](const GiNaC::ex &e) { return std::min(termsOf(e), 999); });
        if (!pivot)
            break;
        const auto [k, col] = *pivot;
        const GiNaC::ex p = a[k][col];
        for (size_t r = 0; r < n; ++r) {
            if (!active[r] || r == k)
                continue;
            const GiNaC::ex f = a[r][col];
            for (size_t c = 0; c < width; ++c) {
                if (c == col || (c < size_t(internal) && used[c]))
                    continue;
                const bool own = !a[r][c].is_zero();
                const bool other = !f.is_zero() && !a[k][c].is_zero();
                if (!own && !other)
                    continue;
                a[r][c] = bareissStep(p, a[r][c], other ? f : GiNaC::ex(0), a[k][c], divisor, work);
            }
            a[r][col] = 0;
            work.check();
        }
        divisor = p;
        active[k] = 0;
        used[col] = 1;
    }
    Rows out;
    out.divisor = divisor;
    for (size_t r = 0; r < n; ++r)
        if (active[r])
            out.rows.emplace_back(a[r].begin() + internal, a[r].end());
    return out;
}
} // namespace

Rows portRelation(const Netlist &net, const std::vector<ElementState> &states, const Work &work)
{
    int internal = 0;
    Rows system = Builder(net, states).build(&internal);
    return work.termCap == 0 ? eliminateNumbers(system.rows, internal, work)
                             : eliminatePolynomials(std::move(system.rows), internal, work);
}

bool Solved::determined(int column) const
{
    const int row = pivotRow[size_t(column)];
    if (row < 0)
        return false;
    for (int u : unknowns)
        if (pivotRow[size_t(u)] < 0 && !m.rows[size_t(row)][size_t(u)].is_zero())
            return false;
    return true;
}

bool Solved::unique() const
{
    if (!constraints.empty())
        return false;
    return std::all_of(unknowns.begin(), unknowns.end(), [this](int u) { return determined(u); });
}

GiNaC::ex Solved::numerator(int unknown, int input) const
{
    return -m.rows[size_t(pivotRow[size_t(unknown)])][size_t(input)];
}

GiNaC::ex Solved::value(int unknown, int input) const
{
    return numerator(unknown, input) / pivot;
}

Solved solve(Rows rows, const std::vector<int> &unknowns, const std::vector<int> &inputs,
             const Work &work)
{
    Solved s;
    s.unknowns = unknowns;
    s.inputs = inputs;
    auto &a = rows.rows;
    const size_t n = a.size();
    const size_t width = n == 0 ? size_t(0) : a[0].size();
    s.pivotRow.assign(std::max<size_t>(width, 4), -1);
    std::vector<char> pivoted(n, 0);
    GiNaC::ex divisor = rows.divisor;
    for (;;) {
        work.check();
        int best = -1;
        size_t k = 0, col = 0;
        for (size_t r = 0; r < n; ++r) {
            if (pivoted[r])
                continue;
            for (int u : unknowns)
                if (s.pivotRow[size_t(u)] < 0 && !a[r][size_t(u)].is_zero()) {
                    const int size = termsOf(a[r][size_t(u)]);
                    if (best < 0 || size < best)
                        best = size, k = r, col = size_t(u);
                }
        }
        if (best < 0)
            break;
        const GiNaC::ex p = a[k][col];
        for (size_t r = 0; r < n; ++r) {
            if (r == k)
                continue;
            const GiNaC::ex f = a[r][col];
            for (size_t c = 0; c < width; ++c) {
                if (c == col)
                    continue;
                a[r][c] = bareissStep(p, a[r][c], f, a[k][c], divisor, work);
            }
            a[r][col] = 0;
        }
        divisor = p;
        pivoted[k] = 1;
        s.pivotRow[col] = int(k);
    }
    s.pivot = divisor;
    for (size_t r = 0; r < n; ++r) {
        if (pivoted[r])
            continue;
        std::vector<GiNaC::ex> relation;
        bool any = false;
        for (int in : inputs) {
            relation.push_back(a[r][size_t(in)]);
            any = any || !a[r][size_t(in)].is_zero();
        }
        if (any)
            s.constraints.push_back(std::move(relation));
    }
    s.m = std::move(rows);
    return s;
}

Minors minorsOf(const Rows &relation, const Work &work)
{
    Minors m;
    if (relation.rows.size() != 2)
        return m;
    const auto &r = relation.rows;
    for (size_t a = 0; a < 4; ++a) {
        m.d[a][a] = 0;
        for (size_t b = a + 1; b < 4; ++b) {
            if (work.termCap > 0)
                work.charge(termsOf(r[0][a]) * termsOf(r[1][b]) +
                            termsOf(r[0][b]) * termsOf(r[1][a]));
            const GiNaC::ex product = crossDifference(r[0][a], r[1][b], r[0][b], r[1][a]);
            if (work.termCap > 0)
                work.charge(termsOf(product) * termsOf(relation.divisor));
            m.d[a][b] = exactQuotient(product, relation.divisor);
            m.d[b][a] = (-m.d[a][b]).expand();
            if (work.termCap > 0 && termsOf(m.d[a][b]) > work.termCap)
                throw TooLarge{};
        }
    }
    m.valid = true;
    return m;
}

std::optional<Solved> solveByMinors(const Minors &minors, const std::array<int, 2> &unknowns,
                                    const std::array<int, 2> &inputs)
{
    const auto &d = minors.d;
    const int o1 = unknowns[0], o2 = unknowns[1];
    if (!minors.valid || d[size_t(o1)][size_t(o2)].is_zero())
        return std::nullopt;
    Solved s;
    s.unknowns = {o1, o2};
    s.inputs = {inputs[0], inputs[1]};
    s.pivot = d[size_t(o1)][size_t(o2)];
    s.pivotRow.assign(4, -1);
    s.pivotRow[size_t(o1)] = 0;
    s.pivotRow[size_t(o2)] = 1;
    s.m.rows.assign(2, std::vector<GiNaC::ex>(4, 0));
    s.m.rows[0][size_t(o1)] = s.pivot;
    s.m.rows[1][size_t(o2)] = s.pivot;
    // Cramer: x_o1 = -d[c][o2]/d[o1][o2], x_o2 = -d[o1][c]/d[o1][o2].
    for (int c : inputs) {
        s.m.rows[0][size_t(c)] = d[size_t(c)][size_t(o2)];
        s.m.rows[1][size_t(c)] = d[size_t(o1)][size_t(c)];
    }
    return s;
}

} // namespace kvadra::circuit
