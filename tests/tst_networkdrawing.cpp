// The own network's drawing as data, against what must hold for any netlist: a drawing read from
// a text joins exactly what the text joins, writing it back changes no element line a student
// typed, and an edit of the drawing lands in the text as the nodes it makes.
#include "circuit/loader.h"
#include "exercise/networkdrawing.h"
#include "exercise/startingpoints.h"
#include "support/session.h"

#include <QtTest>

using namespace kvadra;

namespace
{
// The element lines of a text, as typed (comments and layout lines left out).
QStringList elementLines(const QString &text)
{
    QStringList out;
    const NetlistText net = readNetlistText(text);
    for (const NetElement &e : net.elements)
        out << net.lines[e.line];
    return out;
}

// The nodes a drawing makes, as sets of "name:terminal", independent of the node names chosen.
QSet<QSet<QString>> joins(const Drawing &d, const QList<QStringList> &names)
{
    QHash<QString, QSet<QString>> byNode;
    for (int e = 0; e < d.elements.size(); ++e)
        for (int t = 0; t < names[e].size(); ++t)
            byNode[names[e][t].toLower()].insert(d.elements[e].name + ':' + QString::number(t));
    QSet<QSet<QString>> out;
    for (const QSet<QString> &node : std::as_const(byNode))
        out.insert(node);
    return out;
}

QList<QStringList> textNodes(const Drawing &d)
{
    QList<QStringList> out;
    for (const DrawnElement &e : d.elements)
        out << e.nodes;
    return out;
}
} // namespace

class TestNetworkDrawing : public QObject
{
    Q_OBJECT
private slots:
    // The driver's session finds the core's module in the build tree, as the windows do.
    void initTestCase()
    {
        m_session = std::make_unique<Session>();
        QVERIFY(circuit::circuitEngine());
    }
    void cleanupTestCase() { m_session.reset(); }

    void startingPoints_data()
    {
        columns<QString>("netlist");
        for (const StartingPoint &p : kvadra::startingPoints(*circuit::circuitEngine()))
            QTest::newRow(qPrintable(p.title)) << p.netlist;
        QTest::newRow("comments, odd spellings, .end")
            << "* mine\nP1 in 0 ; port\n\nr1 in Mid 2k2\nR2 mid 0 1/3S\nP2 MID 0\n.end\nR9 x y\n";
    }
    // Laid out from scratch, every starting point joins what its text joins and nothing more,
    // and writing it back leaves the student's lines as they were.
    void startingPoints()
    {
        QFETCH(QString, netlist);
        const NetlistText net = readNetlistText(netlist);
        const Drawing d = drawingOf(net);
        QCOMPARE(d.elements.size(), net.elements.size());
        QVERIFY(wiresAgreeWithText(d));
        QCOMPARE(joins(d, nodeNamesOf(d)), joins(d, textNodes(d)));
        QVERIFY(looseEndsOf(d).isEmpty());
        const QString written = writeDrawing(net, d);
        QCOMPARE(elementLines(written), elementLines(netlist));
        for (const QString &line : netlist.split('\n'))
            QVERIFY2(written.contains(line), qPrintable(line));
        // Read again, the drawing stands where it was written.
        const Drawing again = drawingOf(readNetlistText(written));
        for (int e = 0; e < d.elements.size(); ++e)
            QCOMPARE(again.elements[e].place, d.elements[e].place);
        QCOMPARE(again.wires, d.wires);
    }

    // A wire drawn between two terminals joins their nodes in the text, and only that line
    // changes.
    void wireJoins()
    {
        const QString text = "P1 a 0\nP2 b 0\nR1 a x ; left\nR2 y b\n";
        const NetlistText net = readNetlistText(text);
        Drawing d = drawingOf(net);
        QVERIFY(!d.elements.isEmpty());
        d.wires.append(NetWire{{terminalPoint(d.elements[2], 1), terminalPoint(d.elements[3], 0)}});
        const QStringList lines = elementLines(writeDrawing(net, d));
        QCOMPARE(lines.mid(0, 2), QStringList({"P1 a 0", "P2 b 0"}));
        const QStringList r1 = lines[2].split(' '), r2 = lines[3].split(' ');
        QCOMPARE(r1[2], r2[1]);
        QVERIFY(lines[2].endsWith("; left"));
    }

    // Lines as a student types them, half-way included: what each word is and where it stands.
    void readLines_data()
    {
        columns<QString, QString, QStringList, QString, QString>("line", "name", "nodes", "control",
                                                                 "valueWord");
        QTest::newRow("resistor") << "R1 a b 2k2"
                                  << "R1" << QStringList{"a", "b"} << ""
                                  << "2k2";
        QTest::newRow("comment after") << "r7  in 0 1/3S ; shunt"
                                       << "r7" << QStringList{"in", "0"} << ""
                                       << "1/3S";
        QTest::newRow("no value yet") << "R2 1 2"
                                      << "R2" << QStringList{"1", "2"} << ""
                                      << "";
        QTest::newRow("four nodes") << "E1 o 0 i 0 mu"
                                    << "E1" << QStringList{"o", "0", "i", "0"} << ""
                                    << "mu";
        QTest::newRow("sense source") << "Fb c e Vs beta"
                                      << "Fb" << QStringList{"c", "e"} << "Vs"
                                      << "beta";
        QTest::newRow("port") << "P2 out 0"
                              << "P2" << QStringList{"out", "0"} << ""
                              << "";
    }
    void readLines()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, nodes);
        QFETCH(QString, valueWord);
        const NetlistText net = readNetlistText("* first\n" + line + "\n");
        QCOMPARE(net.elements.size(), 1);
        const NetElement &e = net.elements.first();
        QTEST(e.name, "name");
        QCOMPARE(e.nodes, nodes);
        QTEST(e.control, "control");
        QCOMPARE(e.value, valueWord);
        QCOMPARE(e.line, 1);
        for (int t = 0; t < nodes.size(); ++t)
            QCOMPARE(line.mid(e.nodeSpans[t].first, e.nodeSpans[t].second), nodes[t]);
        if (!valueWord.isEmpty())
            QCOMPARE(line.mid(e.valueAt, valueWord.size()), valueWord);
    }

    // Layout lines read back as they were written.
    void layoutLines()
    {
        const Placement place{{-4, 6}, 270};
        const NetWire wire{{{0, 0}, {0, 4}, {8, 4}}};
        const NetlistText net =
            readNetlistText("R1 a b\n" + placementLine("R1", place) + "\n" + wireLine(wire));
        QCOMPARE(net.placements.value("r1"), place);
        QCOMPARE(net.placementLines.value("r1"), 1);
        QCOMPARE(net.wires, QList<NetWire>{wire});
        QCOMPARE(net.wireLines, QList<int>{2});
    }

    void freeNames_data()
    {
        columns<QStringList, QChar, QString>("taken", "kind", "free");
        QTest::newRow("next resistor") << QStringList{"R1", "R2"} << QChar('R') << "R3";
        QTest::newRow("a gap first") << QStringList{"R2"} << QChar('R') << "R1";
        QTest::newRow("names without case") << QStringList{"r1"} << QChar('r') << "R2";
        QTest::newRow("ports run out") << QStringList{"P1", "P2"} << QChar('P') << "";
        QTest::newRow("other kinds do not count") << QStringList{"E1"} << QChar('G') << "G1";
    }
    void freeNames()
    {
        QFETCH(QStringList, taken);
        QFETCH(QChar, kind);
        Drawing d;
        for (const QString &name : taken)
            d.elements.append(DrawnElement{name[0].toUpper(), name, {}, {}, {}, {}, -1});
        QTEST(freeName(d, kind), "free");
    }

private:
    std::unique_ptr<Session> m_session;
};

QTEST_MAIN(TestNetworkDrawing)
#include "tst_networkdrawing.moc"
