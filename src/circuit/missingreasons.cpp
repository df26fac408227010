// Why a set is missing, in the network's own terms: the port a test shorts or opens, and the
// element through which it does so or the ports are cut apart.
#include "circuit/network.h"

#include <ginac/ginac.h>

#include <deque>

namespace kvadra::circuit
{

std::vector<int> Network::wirePath(int from, int to, const std::vector<ElementState> &states) const
{
    const auto &elements = m_net.elements;
    std::vector<int> via(size_t(m_net.nodes.size()), -2);
    std::deque<int> queue{from};
    via[size_t(from)] = -1;
    while (!queue.empty()) {
        const int n = queue.front();
        queue.pop_front();
        if (n == to)
            break;
        for (size_t i = 0; i < elements.size(); ++i) {
            const Element &e = elements[i];
            const bool wire = e.kind == QLatin1Char('V') ||
                              (e.kind == QLatin1Char('R') && states[i].kind == ElementState::Wire);
            if (!wire)
                continue;
            for (int k = 0; k < 2; ++k)
                if (e.nodes[size_t(k)] == n && via[size_t(e.nodes[size_t(1 - k)])] == -2) {
                    via[size_t(e.nodes[size_t(1 - k)])] = int(i);
                    queue.push_back(e.nodes[size_t(1 - k)]);
                }
        }
    }
    std::vector<int> path;
    if (via[size_t(to)] == -2)
        return path;
    for (int n = to; via[size_t(n)] >= 0;) {
        const Element &e = elements[size_t(via[size_t(n)])];
        path.insert(path.begin(), via[size_t(n)]);
        n = e.nodes[0] == n ? e.nodes[1] : e.nodes[0];
    }
    return path;
}

QString Network::shortDetail(int port, const std::vector<ElementState> &states) const
{
    const Element &p = m_net.elements[size_t(m_net.ports[size_t(port - 1)])];
    const int a = p.nodes[0], b = p.nodes[1];
    if (a == b)
        return QStringLiteral("both its terminals are node %1").arg(m_net.nodes[a]);
    const std::vector<int> path = wirePath(a, b, states);
    if (path.empty())
        return QStringLiteral("the network holds its voltage at zero");
    QStringList names;
    for (int i : path) {
        const Element &e = m_net.elements[size_t(i)];
        names.append(e.kind == QLatin1Char('V') ? QStringLiteral("%1 (0 V)").arg(e.name)
                                                : QStringLiteral("%1 = 0").arg(e.name));
    }
    const QString list = names.size() == 1
                             ? names[0]
                             : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                   QStringLiteral(" and ") + names.last();
    return QStringLiteral("%1 %2 its terminals %3 and %4")
        .arg(list, names.size() == 1 ? QStringLiteral("joins") : QStringLiteral("join"),
             m_net.nodes[a], m_net.nodes[b]);
}

QString Network::passDetail(const std::vector<ElementState> &states) const
{
    const auto &elements = m_net.elements;
    const int nodes = int(m_net.nodes.size());
    // Conductive joins only: a controlled source's control draws no current.
    auto conducts = [&](size_t i) {
        const QChar k = elements[i].kind;
        return k == QLatin1Char('V') || k == QLatin1Char('E') || k == QLatin1Char('H') ||
               (k == QLatin1Char('R') && states[i].kind != ElementState::Open);
    };
    std::vector<int> parent(static_cast<size_t>(nodes));
    auto find = [&parent](int n) {
        while (parent[size_t(n)] != n)
            n = parent[size_t(n)] = parent[size_t(parent[size_t(n)])];
        return n;
    };
    // Wires make one node of the nodes they join.
    std::iota(parent.begin(), parent.end(), 0);
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i].kind == QLatin1Char('V') ||
            (elements[i].kind == QLatin1Char('R') && states[i].kind == ElementState::Wire))
            parent[size_t(find(elements[i].nodes[0]))] = find(elements[i].nodes[1]);
    std::vector<int> place(static_cast<size_t>(nodes));
    for (int n = 0; n < nodes; ++n)
        place[size_t(n)] = find(n);
    const Element &p1 = elements[size_t(m_net.ports[0])];
    const Element &p2 = elements[size_t(m_net.ports[1])];
    // Whether the ports' sides are joined when `removed` (a place, or -1) is taken out.
    auto joined = [&](int removed) {
        std::iota(parent.begin(), parent.end(), 0);
        for (size_t i = 0; i < elements.size(); ++i) {
            if (!conducts(i))
                continue;
            const int a = place[size_t(elements[i].nodes[0])];
            const int b = place[size_t(elements[i].nodes[1])];
            if (a != removed && b != removed)
                parent[size_t(find(a))] = find(b);
        }
        for (int a : p1.nodes)
            for (int b : p2.nodes) {
                const int pa = place[size_t(a)], pb = place[size_t(b)];
                if (pa != removed && pb != removed && find(pa) == find(pb))
                    return true;
            }
        return false;
    };
    if (!joined(-1))
        return QStringLiteral("No element joins port 1 to port 2.");
    for (int n = 0; n < nodes; ++n) {
        if (place[size_t(n)] != n)
            continue;
        if (!joined(n)) {
            // Name the place by node 0 where it holds it.
            int shown = n;
            if (m_net.ground >= 0 && place[size_t(m_net.ground)] == n)
                shown = m_net.ground;
            return QStringLiteral("Port 1 and port 2 meet only at node %1.")
                .arg(m_net.nodes[shown]);
        }
    }
    return QString();
}

QString Network::relationText(const std::vector<GiNaC::ex> &c, const std::array<int, 2> &q) const
{
    const GiNaC::ex k = GiNaC::normal(m_table->resistances(-c[1] / c[0]));
    const QString other = quantityName(q[1]);
    FormulaWriter writer(*m_table);
    QString right;
    if (k.is_equal(GiNaC::ex(1)))
        right = other;
    else if (k.is_equal(GiNaC::ex(-1)))
        right = QLatin1Char('-') + other;
    else
        right = QLatin1Char('(') + writer.plain(k) + QStringLiteral(")*") + other;
    return quantityName(q[0]) + QStringLiteral(" = ") + right;
}

QString Network::mechanism(ParameterSet set, const Pass &pass) const
{
    const Solved &test = pass.tests[size_t(set)];
    const PortTest t = portTest(set);
    const bool abcd = set == ParameterSet::ABCD;
    // What it means that the test cannot set input `i` at all.
    auto alone = [&](int i) {
        const int q = t.inputs[size_t(i)], other = t.inputs[size_t(1 - i)];
        const int port = portOf(q);
        if (isVoltage(q))
            return QStringLiteral("port %1 is shorted — %2, so no voltage can be applied to it")
                .arg(port)
                .arg(shortDetail(port, pass.states));
        QString text = QStringLiteral("nothing inside the network joins port %1's terminals, so "
                                      "no current can be driven into it")
                           .arg(port);
        if (!abcd)
            text += QStringLiteral(" while port %1 is %2")
                        .arg(portOf(other))
                        .arg(isVoltage(other) ? QStringLiteral("shorted") : QStringLiteral("open"));
        return text;
    };
    if (!test.constraints.empty()) {
        const auto &first = test.constraints.front();
        bool both = false;
        for (const auto &row : test.constraints)
            both = both || !(first[0] * row[1] - first[1] * row[0]).expand().is_zero();
        if (both)
            return alone(0) + QStringLiteral("; and ") + alone(1);
        if (first[1].is_zero())
            return alone(0);
        if (first[0].is_zero())
            return alone(1);
        if (abcd) {
            const QString detail = passDetail(pass.states);
            return QStringLiteral("nothing passes from port 1 to port 2, so the voltage and "
                                  "current at port 2 do not fix those at port 1") +
                   (detail.isEmpty() ? QString()
                                     : QStringLiteral(" (%1%2)").arg(detail.front().toLower(),
                                                                     detail.mid(1).chopped(1)));
        }
        // The relation in the values themselves, where they are known.
        const Pass *real = m_symbolic ? &*m_symbolic : m_numeric ? &*m_numeric : nullptr;
        QString relation;
        if (real && !real->tests[size_t(set)].constraints.empty()) {
            const auto &c = real->tests[size_t(set)].constraints.front();
            if (!c[0].is_zero() && !c[1].is_zero())
                relation = QStringLiteral(" (%1)").arg(relationText(c, t.inputs));
        }
        return QStringLiteral("the network ties %1 and %2 together%3, so the %4 test cannot set "
                              "them apart")
            .arg(quantityName(t.inputs[0]), quantityName(t.inputs[1]), relation, setName(set));
    }
    int free = t.outputs[0];
    if (test.determined(free))
        free = t.outputs[1];
    return QStringLiteral("with %1 and %2 fixed, the network leaves %3 free: no element fixes it")
        .arg(quantityName(t.inputs[0]), quantityName(t.inputs[1]), quantityName(free));
}

} // namespace kvadra::circuit
