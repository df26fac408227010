#include "circuit/join.h"

#include "circuit/analysis.h"

#include <ginac/ginac.h>

#include <functional>

namespace kvadra::circuit
{

namespace
{
enum class Mode { Series, Parallel };

struct Terminals {
    QString plus, minus;
};

// How the two networks are wired: each side in series or in parallel, or port 2 of the first
// to port 1 of the second. For Brune's test one side stays unjoined.
struct Wiring {
    bool cascade = false;
    std::array<Mode, 2> mode{Mode::Series, Mode::Series};
    int test = -1; // side left open (series) or with each port shorted (parallel)
};

ParameterSet ruleSet(JoinKind kind)
{
    switch (kind) {
    case JoinKind::Cascade:
        return ParameterSet::ABCD;
    case JoinKind::Series:
        return ParameterSet::Z;
    case JoinKind::Parallel:
        return ParameterSet::Y;
    case JoinKind::SeriesParallel:
        return ParameterSet::H;
    case JoinKind::ParallelSeries:
        break;
    }
    return ParameterSet::G;
}

std::array<Mode, 2> modesOf(JoinKind kind)
{
    switch (kind) {
    case JoinKind::Parallel:
        return {Mode::Parallel, Mode::Parallel};
    case JoinKind::SeriesParallel:
        return {Mode::Series, Mode::Parallel};
    case JoinKind::ParallelSeries:
        return {Mode::Parallel, Mode::Series};
    default:
        return {Mode::Series, Mode::Series};
    }
}

// An element line with its name and nodes tagged apart and its symbol renamed, or written as the
// value it was given, if any.
QString elementLine(const Element &e, const ElementInfo &info, const QString &tag,
                    const std::function<QString(const QString &)> &node,
                    const QHash<QString, QString> &rename,
                    const QMap<QString, QString> &values = {})
{
    QStringList words{info.name + tag};
    for (const QString &n : info.nodes)
        words << node(tag + n);
    if (!info.control.isEmpty())
        words << info.control + tag;
    if (e.kind == QLatin1Char('V')) {
        if (!info.valueText.isEmpty())
            words << info.valueText;
    } else if (e.value.isSymbol) {
        const QString symbol = rename.value(e.value.symbol, e.value.symbol);
        const QString value = values.value(symbol).trimmed();
        const bool siemens = value.endsWith(QLatin1Char('S'));
        words << (value.isEmpty() ? symbol : value) +
                     (info.conductance && !siemens ? QStringLiteral(" S") : QString());
    } else {
        words << info.valueText;
    }
    return words.join(QLatin1Char(' '));
}

// The second network with its clashing symbols renamed, alone.
QString renamedText(const Netlist &net, const QHash<QString, QString> &rename)
{
    QStringList lines;
    for (size_t i = 0; i < net.elements.size(); ++i)
        lines << elementLine(
            net.elements[i], net.infos[qsizetype(i)], QString(), [](const QString &n) { return n; },
            rename);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Terminals portOf(const Netlist &net, int port, const QString &tag)
{
    const ElementInfo &info = net.infos[net.ports[size_t(port)]];
    return {tag + info.nodes[0], tag + info.nodes[1]};
}

QString build(const Netlist &a, const Netlist &b, const QHash<QString, QString> &rename,
              const Wiring &w, const QString &title, const QMap<QString, QString> &values = {})
{
    QHash<QString, QString> parent; // lower-case name -> representative as written
    std::function<QString(const QString &)> find = [&](const QString &n) -> QString {
        const QString key = n.toLower();
        const auto it = parent.constFind(key);
        if (it == parent.constEnd() || it->toLower() == key)
            return it == parent.constEnd() ? n : *it;
        const QString root = find(*it);
        parent[key] = root;
        return root;
    };
    // The first network's name stays where two nodes become one.
    auto merge = [&](const QString &x, const QString &y) {
        const QString rx = find(x), ry = find(y);
        if (rx.toLower() != ry.toLower())
            parent[ry.toLower()] = rx;
    };
    const std::array<Terminals, 2> ta{portOf(a, 0, QStringLiteral("a")),
                                      portOf(a, 1, QStringLiteral("a"))};
    const std::array<Terminals, 2> tb{portOf(b, 0, QStringLiteral("b")),
                                      portOf(b, 1, QStringLiteral("b"))};
    std::array<Terminals, 2> ports;
    QStringList extra;
    if (w.cascade) {
        merge(ta[1].plus, tb[0].plus);
        merge(ta[1].minus, tb[0].minus);
        ports = {ta[0], tb[1]};
    } else {
        std::array<Terminals, 2> combined;
        Terminals probe;
        for (int s = 0; s < 2; ++s) {
            const Terminals &x = ta[size_t(s)], &y = tb[size_t(s)];
            if (s == w.test) {
                if (w.mode[size_t(s)] == Mode::Series) {
                    // 0 S is an open circuit that still counts as a connection, so the open
                    // ports' terminals are not taken for typing errors.
                    extra << QStringLiteral("Rx%1 %2 %3 0S").arg(2 * s + 1).arg(x.plus, x.minus);
                    extra << QStringLiteral("Rx%1 %2 %3 0S").arg(2 * s + 2).arg(y.plus, y.minus);
                    probe = {x.minus, y.plus};
                } else {
                    extra << QStringLiteral("Rx%1 %2 %3 0").arg(2 * s + 1).arg(x.plus, x.minus);
                    extra << QStringLiteral("Rx%1 %2 %3 0").arg(2 * s + 2).arg(y.plus, y.minus);
                    probe = {x.plus, y.plus};
                }
            } else if (w.mode[size_t(s)] == Mode::Series) {
                merge(x.minus, y.plus);
                combined[size_t(s)] = {x.plus, y.minus};
            } else {
                merge(x.plus, y.plus);
                merge(x.minus, y.minus);
                combined[size_t(s)] = x;
            }
        }
        ports =
            w.test < 0 ? combined : std::array<Terminals, 2>{combined[size_t(1 - w.test)], probe};
    }
    QStringList lines{QStringLiteral("* ") + title,
                      QStringLiteral("* the first network's nodes start with a and its "
                                     "elements end in a; the second's with b")};
    auto node = [&](const QString &n) { return find(n); };
    for (size_t i = 0; i < a.elements.size(); ++i)
        if (a.elements[i].kind != QLatin1Char('P'))
            lines << elementLine(a.elements[i], a.infos[qsizetype(i)], QStringLiteral("a"), node,
                                 {}, values);
    for (size_t i = 0; i < b.elements.size(); ++i)
        if (b.elements[i].kind != QLatin1Char('P'))
            lines << elementLine(b.elements[i], b.infos[qsizetype(i)], QStringLiteral("b"), node,
                                 rename, values);
    for (QString &line : extra) {
        QStringList words = line.split(QLatin1Char(' '));
        words[1] = find(words[1]);
        words[2] = find(words[2]);
        line = words.join(QLatin1Char(' '));
    }
    lines << extra;
    lines << QStringLiteral("P1 %1 %2").arg(find(ports[0].plus), find(ports[0].minus));
    lines << QStringLiteral("P2 %1 %2").arg(find(ports[1].plus), find(ports[1].minus));
    // A terminal that met nothing inside its own network (a port wired to no element) leaves the
    // element it is joined to with a node of its own; an open circuit to port 1 keeps the netlist
    // whole without changing the network.
    QHash<QString, int> uses;
    for (const QString &line : std::as_const(lines)) {
        const QStringList words = line.split(QLatin1Char(' '));
        if (line.startsWith(QLatin1Char('*')) || words.size() < 3)
            continue;
        const QChar kind = words[0].at(0).toUpper();
        const bool port = kind == QLatin1Char('P');
        const int count = kind == QLatin1Char('E') || kind == QLatin1Char('G') ? 4 : 2;
        for (int k = 1; k <= count && k < words.size(); ++k)
            uses[words[k]] += port ? 2 : 1;
    }
    int open = 0;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        if (it.value() == 1)
            lines << QStringLiteral("Ropen%1 %2 %3 0S ; joined to nothing else")
                         .arg(++open)
                         .arg(it.key(), find(ports[0].minus));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

EntryValue arithmetic(const EntryValue &x, const EntryValue &y,
                      const std::function<GiNaC::ex(const GiNaC::ex &, const GiNaC::ex &)> &op,
                      const SymbolTable &table)
{
    EntryValue out;
    if (x.formula && y.formula) {
        out.formula = GiNaC::normal(op(*x.formula, *y.formula));
        out.tooLong = FormulaWriter(table).terms(*out.formula) > formulaTermLimit;
    } else {
        out.tooLong = x.tooLong || y.tooLong;
    }
    if (x.exact && y.exact)
        out.exact = GiNaC::ex_to<GiNaC::numeric>(op(*x.exact, *y.exact));
    return out;
}

using Matrix = std::array<GiNaC::ex, 4>;

// The rows r·(V1, I1, V2, I2) = 0 a set's matrix says.
std::array<std::array<GiNaC::ex, 4>, 2> rowsOf(ParameterSet set, const Matrix &m)
{
    switch (set) {
    case ParameterSet::Z:
        return {{{1, -m[0], 0, -m[1]}, {0, -m[2], 1, -m[3]}}};
    case ParameterSet::Y:
        return {{{-m[0], 1, -m[1], 0}, {-m[2], 0, -m[3], 1}}};
    case ParameterSet::H:
        return {{{1, -m[0], -m[1], 0}, {0, -m[2], -m[3], 1}}};
    case ParameterSet::G:
        return {{{-m[0], 1, 0, -m[1]}, {-m[2], 0, 1, -m[3]}}};
    case ParameterSet::ABCD:
        break;
    }
    return {{{1, 0, -m[0], m[1]}, {0, 1, -m[2], m[3]}}};
}

// Another set from those rows, where its test has an answer.
std::optional<Matrix> convert(const std::array<std::array<GiNaC::ex, 4>, 2> &r, ParameterSet set)
{
    auto minor = [&r](int x, int y) {
        return r[0][size_t(x)] * r[1][size_t(y)] - r[0][size_t(y)] * r[1][size_t(x)];
    };
    const PortTest t = portTest(set);
    const GiNaC::ex det = GiNaC::normal(minor(t.outputs[0], t.outputs[1]));
    if (det.is_zero())
        return std::nullopt;
    Matrix m;
    for (int k = 0; k < 4; ++k) {
        const EntryTest e = entryTest(set, k);
        const GiNaC::ex top = e.output == t.outputs[0] ? -minor(e.input, t.outputs[1])
                                                       : -minor(t.outputs[0], e.input);
        m[size_t(k)] = GiNaC::normal(e.sign * top / det);
    }
    return m;
}

QString valueKey(const QString &text)
{
    ValueError ignored;
    const auto v = readValue(text, &ignored);
    return v ? canonicalValue(*v) + QString::number(int(v->unit)) : text.trimmed();
}

NetlistError placed(NetlistError e, const QString &which)
{
    e.message = QStringLiteral("in the %1 netlist: %2").arg(which, e.message);
    return e;
}
} // namespace

QString joinName(JoinKind kind)
{
    static const char *const names[] = {"cascade", "series", "parallel", "series-parallel",
                                        "parallel-series"};
    return QLatin1String(names[int(kind)]);
}

std::optional<JoinKind> joinKindNamed(const QString &name)
{
    for (JoinKind k : {JoinKind::Cascade, JoinKind::Series, JoinKind::Parallel,
                       JoinKind::SeriesParallel, JoinKind::ParallelSeries})
        if (joinName(k) == name)
            return k;
    return std::nullopt;
}

Joined joinNetworks(const Request &first, const Request &second, JoinKind kind)
{
    const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
    Joined out;
    const ReadResult ra = readNetlist(first.netlist), rb = readNetlist(second.netlist);
    if (ra.error) {
        out.error = placed(*ra.error, QStringLiteral("first"));
        return out;
    }
    if (rb.error) {
        out.error = placed(*rb.error, QStringLiteral("second"));
        return out;
    }
    const Netlist &a = ra.netlist, &b = rb.netlist;
    // A symbol both networks name stays one symbol where it means the same; else the second's
    // is renamed.
    QHash<QString, QString> rename;
    QMap<QString, QString> values = first.values;
    for (const QString &s : b.symbols) {
        const bool clash =
            a.hasSymbol(s) && (a.symbolKinds.value(s) != b.symbolKinds.value(s) ||
                               valueKey(first.values.value(s)) != valueKey(second.values.value(s)));
        QString name = s;
        if (clash) {
            name = s + QStringLiteral("_2");
            while (a.hasSymbol(name) || b.hasSymbol(name))
                name += QStringLiteral("_2");
            rename.insert(s, name);
        }
        if (second.values.contains(s))
            values.insert(name, second.values.value(s));
    }
    auto table = std::make_shared<SymbolTable>();
    Request ra2 = first, rb2 = second, built = first;
    ra2.values = values;
    rb2.values = values;
    rb2.netlist = renamedText(b, rename);
    const ParameterSet rule = ruleSet(kind);
    Wiring wiring;
    wiring.cascade = kind == JoinKind::Cascade;
    wiring.mode = modesOf(kind);
    built.netlist = build(a, b, rename, wiring,
                          QStringLiteral("The two networks joined: %1").arg(joinName(kind)));
    built.values = values;
    // The student opens the network built with the values it was built with.
    out.netlist = build(a, b, rename, wiring,
                        QStringLiteral("The two networks joined: %1").arg(joinName(kind)), values);
    const AnalysisImpl na(ra2, nullptr, table), nb(rb2, nullptr, table),
        whole(built, nullptr, table);
    for (const auto *x : {&na, &nb, &whole})
        if (x->report().error) {
            out.error = x == &na   ? placed(*x->report().error, QStringLiteral("first"))
                        : x == &nb ? placed(*x->report().error, QStringLiteral("second"))
                                   : placed(*x->report().error, QStringLiteral("joined"));
            return out;
        }
    out.built = whole.report().sets;

    // The rule, where both networks have its set.
    const SetState sa = na.network()->state(rule), sb = nb.network()->state(rule);
    const bool applicable = sa == SetState::Exists && sb == SetState::Exists;
    if (!applicable) {
        const SetReport &missing = (sa != SetState::Exists ? na : nb).report().sets[size_t(rule)];
        const QString why =
            QStringLiteral("The %1 rule needs the %2 parameters of both networks, and the %3 "
                           "has none: %4")
                .arg(joinName(kind), setName(rule),
                     sa != SetState::Exists ? QStringLiteral("first") : QStringLiteral("second"),
                     missing.reason);
        for (SetReport &r : out.rule)
            r = SetReport{SetState::Missing, why, {}};
        out.why = why;
        out.ruleHolds = false;
        return out;
    }
    std::array<EntryValue, 4> m;
    auto x = [&](int k) { return na.network()->entry(rule, k); };
    auto y = [&](int k) { return nb.network()->entry(rule, k); };
    const auto plus = [](const GiNaC::ex &p, const GiNaC::ex &q) { return p + q; };
    const auto times = [](const GiNaC::ex &p, const GiNaC::ex &q) { return p * q; };
    for (int k = 0; k < 4; ++k) {
        if (kind != JoinKind::Cascade) {
            m[size_t(k)] = arithmetic(x(k), y(k), plus, *table);
            continue;
        }
        const int row = k / 2, column = k % 2;
        m[size_t(k)] =
            arithmetic(arithmetic(x(2 * row), y(column), times, *table),
                       arithmetic(x(2 * row + 1), y(2 + column), times, *table), plus, *table);
    }
    std::optional<Matrix> formulas, numbers;
    if (std::all_of(m.begin(), m.end(), [](const EntryValue &v) { return bool(v.formula); }))
        formulas = Matrix{*m[0].formula, *m[1].formula, *m[2].formula, *m[3].formula};
    if (std::all_of(m.begin(), m.end(), [](const EntryValue &v) { return bool(v.exact); }))
        numbers = Matrix{*m[0].exact, *m[1].exact, *m[2].exact, *m[3].exact};
    static const char *const zeroOf[5][5] = {
        {"", "det Y", "h22", "g11", "C"}, {"det Z", "", "h11", "g22", "B"},
        {"z22", "y11", "", "det G", "D"}, {"z11", "y22", "det H", "", "A"},
        {"z21", "y21", "h21", "g21", ""},
    };
    bool holds = true;
    for (ParameterSet set : allParameterSets) {
        SetReport &r = out.rule[size_t(set)];
        const auto f = formulas ? convert(rowsOf(rule, *formulas), set) : std::nullopt;
        const auto n = numbers ? convert(rowsOf(rule, *numbers), set) : std::nullopt;
        const bool exists = numbers ? n.has_value() : f.has_value();
        r.state = exists           ? SetState::Exists
                  : (numbers && f) ? SetState::Singular
                                   : SetState::Missing;
        if (!exists)
            r.reason = QStringLiteral("No %1 parameters by the rule: its %2 matrix has %3 = 0.")
                           .arg(setName(set), setName(rule),
                                QLatin1String(zeroOf[size_t(set)][size_t(rule)]));
        std::array<EntryValue, 4> entries;
        for (int k = 0; k < 4 && exists; ++k) {
            EntryValue &v = entries[size_t(k)];
            if (f) {
                v.formula = (*f)[size_t(k)];
                v.tooLong = FormulaWriter(*table).terms(*v.formula) > formulaTermLimit;
            }
            if (n)
                v.exact = GiNaC::ex_to<GiNaC::numeric>((*n)[size_t(k)]);
            r.entries[size_t(k)] = whole.exact(
                v, entryKind(set, k), entryName(set, k),
                entryDefinition(set, k) + QStringLiteral(", by the %1 rule").arg(joinName(kind)));
        }
        // The rule holds where it and the network built agree on every set.
        const Network &w = *whole.network();
        const bool builtExists = w.state(set) == SetState::Exists;
        if (exists != builtExists) {
            holds = false;
            continue;
        }
        for (int k = 0; k < 4 && exists; ++k) {
            const EntryValue &p = entries[size_t(k)], &q = w.entry(set, k);
            if (p.exact && q.exact)
                holds = holds && *p.exact == *q.exact;
            else if (p.formula && q.formula)
                holds = holds && GiNaC::normal(*p.formula - *q.formula).is_zero();
        }
    }
    out.ruleHolds = holds;
    if (holds)
        return out;
    if (kind == JoinKind::Cascade) {
        out.why = QStringLiteral("The ABCD product differs from the network built.");
        return out;
    }
    // Brune's test at each side: the other side joined and driven, this side unjoined.
    QStringList why{QStringLiteral("The connection unbalances the port currents, so the %1 "
                                   "matrices of the two networks do not add.")
                        .arg(setName(rule))};
    for (int side = 0; side < 2; ++side) {
        Wiring test = wiring;
        test.test = side;
        Request probe = built;
        probe.netlist = build(a, b, rename, test, QStringLiteral("Brune's test"));
        const AnalysisImpl t(probe, nullptr, table);
        if (!t.network())
            continue;
        const Network &tn = *t.network();
        const bool byCurrent = tn.state(ParameterSet::Z) == SetState::Exists;
        const ParameterSet read = byCurrent ? ParameterSet::Z : ParameterSet::G;
        if (tn.state(read) != SetState::Exists)
            continue;
        const EntryValue &v = tn.entry(read, 2);
        const bool zero = v.exact ? v.exact->is_zero() : v.formula && v.formula->is_zero();
        if (zero)
            continue;
        QString amount;
        if (v.exact && v.exact->is_integer())
            amount = exactText(*v.exact);
        else if (v.exact)
            amount =
                QStringLiteral("%1 (about %2)").arg(exactText(*v.exact), decimalText(*v.exact, 6));
        else if (v.formula && !v.tooLong)
            amount = FormulaWriter(*table).plain(*v.formula);
        else
            amount = QStringLiteral("a voltage");
        const Mode here = wiring.mode[size_t(side)], there = wiring.mode[size_t(1 - side)];
        const Terminals x = portOf(a, side, QStringLiteral("a")),
                        y = portOf(b, side, QStringLiteral("b"));
        why << QStringLiteral(
                   "Brune's test fails at port %1: with ports %2 joined %3 and driven, "
                   "and ports %1 %4, a voltage of %5 %6 appears between %7 and %8, which the "
                   "connection joins. Joined, it drives a current into one network's "
                   "port %1 by one terminal that does not leave by the other.")
                   .arg(side + 1)
                   .arg(2 - side)
                   .arg(there == Mode::Series ? QStringLiteral("in series")
                                              : QStringLiteral("in parallel"))
                   .arg(here == Mode::Series ? QStringLiteral("left open")
                                             : QStringLiteral("each shorted"))
                   .arg(amount)
                   .arg(byCurrent ? QStringLiteral("V per ampere of the drive")
                                  : QStringLiteral("V per volt of the drive"))
                   .arg(here == Mode::Series ? x.minus : x.plus, y.plus);
    }
    if (why.size() == 1)
        why << QStringLiteral("(Brune's test finds no voltage: the rule and the network built "
                              "differ in which sets exist.)");
    out.why = why.join(QLatin1Char(' '));
    return out;
}

} // namespace kvadra::circuit
