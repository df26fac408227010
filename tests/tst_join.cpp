// Two networks joined: the textbook rules against the network actually built, and Brune's test
// where they part.
#include "circuit/engine.h"
#include "support/table.h"

#include <QtTest>

using namespace kvadra;
using namespace kvadra::circuit;

namespace
{
Request request(const QString &netlist, const QMap<QString, QString> &values = {})
{
    Request r;
    r.netlist = netlist;
    r.values = values;
    return r;
}

QStringList exactOf(const SetReport &s)
{
    if (s.state != SetState::Exists)
        return {QStringLiteral("missing")};
    QStringList out;
    for (const Exact &e : s.entries)
        out << (e.known ? e.exact : e.formula);
    return out;
}

QStringList z(const std::array<SetReport, 5> &sets)
{
    return exactOf(sets[size_t(ParameterSet::Z)]);
}

// T of 1, 2 and 3 kOhm with its bottom line common to both ports; turned over, the top and
// bottom terminals of both ports are swapped.
const QString tee = QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n");
const QString turnedOver = QStringLiteral("P1 0 1\nP2 0 3\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n");
const QString pi = QStringLiteral("P1 1 0\nP2 2 0\nR1 1 0 1k\nR2 1 2 2k\nR3 2 0 4k\n");
// An L section: R in series, then G across port 2.
const QString section = QStringLiteral("P1 1 0\nP2 2 0\nRs 1 2 R\nRg 2 0 G S\n");
} // namespace

class TestJoin : public QObject
{
    Q_OBJECT
private slots:
    // Two T networks in series on a common bottom line: the Z matrices do not add, because the
    // connection shorts the second T's R1 and R3 against the first's bottom line.
    void seriesOfTwoTees()
    {
        const Joined j = engine().join(request(tee), request(tee), JoinKind::Series);
        QVERIFY(!j.error);
        QCOMPARE(z(j.rule), (QStringList{"6000", "4000", "4000", "10000"}));
        QCOMPARE(z(j.built), (QStringList{"5750", "4750", "4750", "7750"}));
        QVERIFY(!j.ruleHolds);
        // Ports 1 in series, ports 2 open: the current through the second T's R1 (1 kOhm)
        // stands across the open connection at port 2.
        QVERIFY2(j.why.contains(QStringLiteral(
                     "Brune's test fails at port 2: with ports 1 joined in series and driven, "
                     "and ports 2 left open, a voltage of 1000 V per ampere of the drive appears "
                     "between a0 and b3")),
                 qPrintable(j.why));
        // The network built reads back to the same result.
        const auto again = engine().analyse(request(j.netlist));
        QCOMPARE(z(again->report().sets), z(j.built));
    }

    // A voltage that is not a whole number is said exactly, with a decimal to picture it.
    void bruneVoltageAsAFraction()
    {
        const Joined j =
            engine().join(request(tee),
                          request(QStringLiteral("P1 1 0\nP2 3 0\nRa 1 2 1k\nRb 2 0 1k\n"
                                                 "Rc 2 3 1k\nRd 1 3 1k\n")),
                          JoinKind::Series);
        QVERIFY2(j.why.contains(QStringLiteral(
                     "a voltage of 1000/3 (about 333.333) V per ampere of the drive")),
                 qPrintable(j.why));
    }

    void turnedOverTee()
    {
        const Joined j = engine().join(request(tee), request(turnedOver), JoinKind::Series);
        QVERIFY(j.ruleHolds);
        QCOMPARE(z(j.built), (QStringList{"6000", "4000", "4000", "10000"}));
        QVERIFY(j.why.isEmpty());
    }

    void kinds_data()
    {
        columns<QString, QString, JoinKind, ParameterSet, bool>("first", "second", "kind", "set",
                                                                "holds");
        using K = JoinKind;
        using P = ParameterSet;
        QTest::newRow("cascade") << tee << pi << K::Cascade << P::ABCD << true;
        QTest::newRow("parallel on a common ground") << pi << tee << K::Parallel << P::Y << true;
        QTest::newRow("series, the second turned over")
            << pi << QStringLiteral("P1 0 1\nP2 0 2\nR1 1 0 1k\nR2 1 2 2k\nR3 2 0 4k\n")
            << K::Series << P::Z << true;
        QTest::newRow("series-parallel on a common ground")
            << tee << tee << K::SeriesParallel << P::H << false;
        QTest::newRow("parallel-series on a common ground")
            << pi << pi << K::ParallelSeries << P::G << false;
        // A lattice has no common line to short: in parallel with a T its currents stay
        // balanced only by luck, here not.
        QTest::newRow("lattice in series with a T")
            << QStringLiteral("P1 1 2\nP2 3 4\nRa 1 3 1k\nRb 2 4 1k\nRc 1 4 3k\nRd 2 3 2k\n") << tee
            << K::Series << P::Z << false;
    }
    void kinds()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(JoinKind, kind);
        QFETCH(ParameterSet, set);
        QFETCH(bool, holds);
        const Joined j = engine().join(request(first), request(second), kind);
        QVERIFY(!j.error);
        QCOMPARE(j.ruleHolds, holds);
        // Where the rule holds, the built network has exactly the rule's set.
        if (holds)
            QCOMPARE(exactOf(j.built[size_t(set)]), exactOf(j.rule[size_t(set)]));
        else
            QVERIFY(j.why.contains(QStringLiteral("Brune's test fails")));
    }

    // The network built from identical sections has the sections' ABCD matrix to that power.
    void cascadeOfSections()
    {
        const Joined two = engine().join(request(section), request(section), JoinKind::Cascade);
        QVERIFY(two.ruleHolds);
        // [1 + RG, R; G, 1] squared, by hand.
        QCOMPARE(exactOf(two.built[size_t(ParameterSet::ABCD)]),
                 (QStringList{"R^2*G^2 + 3*R*G + 1", "R^2*G + 2*R", "R*G^2 + 2*G", "R*G + 1"}));
        const QMap<QString, QString> values{{"R", "10"}, {"G", "1/20"}};
        const Joined three = engine().join(request(two.netlist, values), request(section, values),
                                           JoinKind::Cascade);
        QVERIFY(three.ruleHolds);
        // [3/2 10; 1/20 1]^3 = [11/4 25; 1/8 3/2] · [3/2 10; 1/20 1].
        QCOMPARE(exactOf(three.built[size_t(ParameterSet::ABCD)]),
                 (QStringList{"43/8", "105/2", "21/80", "11/4"}));
    }

    // A T cascaded with the T whose ABCD matrix is its inverse (turned round, every value
    // negated) is a plain pair of wires.
    void cascadeWithTheInverse()
    {
        const Joined j = engine().join(
            request(tee),
            request(QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2 -3k\nR2 2 0 -2k\nR3 2 3 -1k\n")),
            JoinKind::Cascade);
        QVERIFY(j.ruleHolds);
        QCOMPARE(exactOf(j.built[size_t(ParameterSet::ABCD)]), (QStringList{"1", "0", "0", "1"}));
        QCOMPARE(exactOf(j.built[size_t(ParameterSet::Z)]), QStringList{"missing"});
        QCOMPARE(exactOf(j.built[size_t(ParameterSet::Y)]), QStringList{"missing"});
    }

    // A symbol both networks use stays one where it means the same, else they are told apart.
    void sharedSymbols()
    {
        const Joined same = engine().join(request(section), request(section), JoinKind::Cascade);
        QVERIFY(same.netlist.contains(QStringLiteral("Rsb a2 b2 R\n")));
        const Joined apart =
            engine().join(request(section, {{"R", "1"}, {"G", "1"}}),
                          request(section, {{"R", "2"}, {"G", "1"}}), JoinKind::Cascade);
        // Told apart in the working; the netlist to open carries each one's own value, and reads
        // back to the network built.
        QVERIFY2(apart.netlist.contains(QStringLiteral("Rsa a1 a2 1\n")) &&
                     apart.netlist.contains(QStringLiteral("Rsb a2 b2 2\n")) &&
                     apart.netlist.contains(QStringLiteral("Rgb b2 a0 1 S\n")),
                 qPrintable(apart.netlist));
        const auto again = engine().analyse(request(apart.netlist));
        QCOMPARE(exactOf(again->report().sets[size_t(ParameterSet::ABCD)]),
                 exactOf(apart.built[size_t(ParameterSet::ABCD)]));
        // [2 1; 1 1] · [3 2; 1 1].
        QCOMPARE(exactOf(apart.rule[size_t(ParameterSet::ABCD)]),
                 (QStringList{"7", "5", "4", "3"}));
        QVERIFY(apart.ruleHolds);
    }

    void ruleWithoutItsSet()
    {
        const Joined j = engine().join(request(QStringLiteral("P1 1 0\nP2 0 0\nR1 1 0 5\n")),
                                       request(tee), JoinKind::Cascade);
        QVERIFY(!j.ruleHolds);
        QVERIFY(j.why.startsWith(QStringLiteral(
            "The cascade rule needs the ABCD parameters of both networks, and the first has "
            "none: No ABCD parameters: port 2 is shorted")));
        QCOMPARE(j.rule[0].state, SetState::Missing);
    }

    void unreadable()
    {
        const Joined j = engine().join(request(tee), request(QStringLiteral("P1 1 0\nX1 1 0\n")),
                                       JoinKind::Series);
        QVERIFY(j.error);
        QCOMPARE(j.error->at.line, 2);
        QVERIFY(j.error->message.startsWith(QStringLiteral("in the second netlist: unknown")));
    }
};

QTEST_GUILESS_MAIN(TestJoin)
#include "tst_join.moc"
