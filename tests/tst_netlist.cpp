// The netlist reader: every value spelling, the messages of what cannot be read, and what a
// drawing keeps of each line.
#include "circuit/netlist.h"
#include "circuit/symbols.h"
#include "support/table.h"

#include <QtTest>

#include <ginac/ginac.h>

using namespace kvadra;
using namespace kvadra::circuit;

namespace
{
// A value as the tests state it: "5/11", "5/11 S", "symbol G1 S", or the error message.
QString described(const QString &text)
{
    ValueError error;
    const auto v = readValue(text, &error);
    if (!v)
        return QStringLiteral("error at %1: %2").arg(error.offset).arg(error.message);
    QString d = v->isSymbol ? QStringLiteral("symbol ") + v->symbol : exactText(v->number);
    if (v->unit == ValueUnit::Siemens)
        d += QStringLiteral(" S");
    if (v->unit == ValueUnit::Ohm)
        d += QStringLiteral(" ohm");
    return d;
}

QString errorOf(const QString &netlist)
{
    const ReadResult r = readNetlist(netlist);
    if (!r.error)
        return QStringLiteral("read");
    return QStringLiteral("%1:%2: %3")
        .arg(r.error->at.line)
        .arg(r.error->at.column)
        .arg(r.error->message);
}

const QString tee = QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2\nR2 2 0\nR3 2 3\n");
} // namespace

class TestNetlist : public QObject
{
    Q_OBJECT
private slots:
    void values_data()
    {
        columns<QString, QString>("typed", "read");
        const QString mRefused = QStringLiteral(
            "error at 1: ambiguous prefix 'M': write 'meg' for mega (10^6) or 'm' for milli "
            "(10^-3)");
        // clang-format off
        const QList<std::pair<const char *, QString>> rows = {
            {"1500", "1500"}, {"1.5e3", "1500"}, {"1,5e3", "1500"}, {"1.5E+3", "1500"},
            {"5/11", "5/11"}, {"-2/11", "-2/11"}, {"+3", "3"}, {"0", "0"}, {"−2", "-2"},
            {"1.5k", "1500"}, {"1.5K", "1500"}, {"1meg", "1000000"}, {"1MEG", "1000000"},
            {"1Meg", "1000000"}, {"3m", "3/1000"}, {"10u", "1/100000"}, {"10µ", "1/100000"},
            {"10μ", "1/100000"}, {"47n", "47/1000000000"}, {"1p", "1/1000000000000"},
            {"1f", "1/1000000000000000"}, {"2g", "2000000000"}, {"2G", "2000000000"},
            {"1t", "1000000000000"}, {"2e3k", "2000000"},
            // RKM codes: the letter stands where the decimal point goes.
            {"2k2", "2200"}, {"4R7", "47/10"}, {"1meg5", "1500000"}, {"0R47", "47/100"},
            {"2K05", "2050"},
            // Units, attached or as a second word, which may carry the prefix.
            {"1.5kΩ", "1500 ohm"}, {"1.5kΩ", "1500 ohm"}, {"1.5k ohm", "1500 ohm"},
            {"2 kOhm", "2000 ohm"}, {"1 kΩ", "1000 ohm"}, {"2mS", "1/500 S"}, {"1/3S", "1/3 S"},
            {"2 mS", "1/500 S"}, {"2m S", "1/500 S"}, {"5 ohms", "5 ohm"},
            {"Ra", "symbol Ra"}, {"G1 S", "symbol G1 S"}, {"h_21", "symbol h_21"},
            {"R1 ohm", "symbol R1 ohm"},
            {"1M", mRefused}, {"2MΩ", mRefused},
            {"1U", "error at 1: unknown prefix 'U': prefixes are f p n u µ m k meg g t (K, G, T "
                   "and MEG also)"},
            {"1.5x", "error at 3: unexpected 'x' in '1.5x': expected a prefix (f p n u µ m k "
                     "meg g t) or a unit (Ω, ohm or S)"},
            {"2.5k3", "error at 4: bad value '2.5k3': digits after the prefix need a whole "
                      "number before it, as in 2k2"},
            {"1/0", "error at 2: division by zero in '1/0'"},
            {"1/-3", "error at 2: a sign in the denominator of '1/-3'"},
            {"1e31", "error at 0: value '1e31' out of range: magnitudes go from 1e-30 to 1e30"},
            {"1e-28f", "error at 0: value '1e-28f' out of range: magnitudes go from 1e-30 to "
                       "1e30"},
            {"2k kΩ", "error at 3: two prefixes in one value: 'kΩ' after a prefix or a symbol"},
            {"G1 mS", "error at 3: two prefixes in one value: 'mS' after a prefix or a symbol"},
            {"2S S", "error at 3: two units: 'S' after '2S'"},
            {"1 2", "error at 2: unexpected '2' after the value: expected a unit (Ω, ohm or S)"},
            {"1 S x", "error at 4: unexpected 'x' after the value"},
            {"µ1", "error at 0: bad symbol name 'µ1': a symbol is a letter, then letters, digits "
                   "or _"},
            {".", "error at 0: bad value '.': expected a number such as 1500, 1.5k, 2k2, 5/11 "
                  "or 2mS, or a symbol name"},
            {"123456789012345678901234567890123456789012",
             "error at 0: value too long: at most 40 characters"},
        };
        // clang-format on
        for (const auto &[typed, read] : rows)
            QTest::newRow(typed) << QString::fromUtf8(typed) << read;
    }
    void values()
    {
        QFETCH(QString, typed);
        QFETCH(QString, read);
        QCOMPARE(described(typed), read);
    }

    // The place of the last digit written decides how a typed value is judged.
    void lastDigit_data()
    {
        columns<QString, int, int>("typed", "place", "significant");
        QTest::newRow("0.450") << "0.450" << -3 << 3;
        QTest::newRow("2k2") << "2k2" << 2 << 2;
        QTest::newRow("0.45m") << "0.45m" << -5 << 2;
        QTest::newRow("4R7") << "4R7" << -1 << 2;
        QTest::newRow("1.5e3") << "1.5e3" << 2 << 2;
        QTest::newRow("2 mS") << "2 mS" << -3 << 1;
    }
    void lastDigit()
    {
        QFETCH(QString, typed);
        QFETCH(int, place);
        QFETCH(int, significant);
        ValueError error;
        const auto v = readValue(typed, &error);
        QVERIFY(v);
        QCOMPARE(v->place, place);
        QCOMPARE(v->significant, significant);
    }

    // Written back, every number reads as itself, in the shortest prefixed spelling.
    void canonical_data()
    {
        columns<QString, QString>("number", "written");
        QTest::newRow("1500") << "1500"
                              << "1.5k";
        QTest::newRow("2200") << "2200"
                              << "2.2k";
        QTest::newRow("47") << "47"
                            << "47";
        QTest::newRow("0.0047") << "47/10000"
                                << "4.7m";
        QTest::newRow("-2 meg") << "-2000000"
                                << "-2meg";
        QTest::newRow("5/11") << "5/11"
                              << "5/11";
        QTest::newRow("1e-18") << "1/1000000000000000000"
                               << "0.001f";
        QTest::newRow("1e15") << "1000000000000000"
                              << "1000t";
        QTest::newRow("0") << "0"
                           << "0";
        QTest::newRow("16 digits") << "1234567890123456"
                                   << "1234567890123456";
        QTest::newRow("123.456") << "15432/125"
                                 << "123.456";
    }
    void canonical()
    {
        QFETCH(QString, number);
        QFETCH(QString, written);
        const GiNaC::numeric n(number.toLatin1().constData());
        QCOMPARE(canonicalNumber(n), written);
        ValueError error;
        const auto back = readValue(written, &error);
        QVERIFY2(back, qPrintable(error.message));
        QCOMPARE(exactText(back->number), exactText(n));
    }

    void errors_data()
    {
        columns<QString, QString>("netlist", "error");
        // clang-format off
        QTest::newRow("unknown element") << "P1 1 0\nP2 2 0\n  C1 1 2 1n\n"
            << "3:3: unknown element 'C1': expected R, E, G, F, H, V or P";
        QTest::newRow("SPICE command") << "P1 1 0\n.op\n"
            << "2:1: unknown element '.op': expected R, E, G, F, H, V or P";
        QTest::newRow("missing node") << "P1 1 0\nP2 2 0\nR1 1\n"
            << "3:5: missing node: R1 needs 2 nodes, found 1";
        QTest::newRow("E needs four") << "P1 1 0\nP2 2 0\nE1 2 0 1\n"
            << "3:9: missing node: E1 needs 4 nodes, found 3";
        QTest::newRow("ambiguous M") << "P1 1 0\nP2 2 0\nR1 1 2 4.7M\n"
            << "3:11: ambiguous prefix 'M': write 'meg' for mega (10^6) or 'm' for milli (10^-3) "
               "(R1)";
        QTest::newRow("bad value") << "P1 1 0\nP2 2 0\nR1 1 2 1k5x ; a comment\n"
            << "3:11: unexpected 'x' in '1k5x': expected a prefix (f p n u µ m k meg g t) or a "
               "unit (Ω, ohm or S) (R1)";
        QTest::newRow("duplicate") << "P1 1 0\nP2 2 0\nR1 1 2\n* again\nr1 2 0\n"
            << "5:1: duplicate name 'r1': already on line 3";
        QTest::newRow("duplicate port") << "P1 1 0\nP2 2 0\np2 1 2\n"
            << "3:1: duplicate name 'p2': already on line 2";
        QTest::newRow("third port") << "P1 1 0\nP3 2 0\n"
            << "2:1: unknown port 'P3': expected P1 or P2";
        QTest::newRow("port extra word") << "P1 1 0 5\n"
            << "1:8: unexpected '5' after the nodes of P1";
        QTest::newRow("undefined sense") << "P1 1 0\nP2 2 0\nR1 1 2\nF1 2 0 Vx 3\nR2 1 0\n"
            << "4:8: undefined sense source 'Vx' for F1: expected the name of a zero-volt source "
               "(a V line)";
        QTest::newRow("sense not a V") << "P1 1 0\nP2 2 0\nR1 1 2\nH1 2 0 R1 3\n"
            << "4:8: 'R1' is not a zero-volt source: H1 senses the current through a V line";
        QTest::newRow("missing sense") << "P1 1 0\nP2 2 0\nF1 2 0\n"
            << "3:8: missing sense source: F1 needs the name of a zero-volt source V after its "
               "nodes";
        QTest::newRow("active source") << "P1 1 0\nP2 2 0\nV1 1 2 5\n"
            << "3:8: 'V1' must be a zero-volt source (0), the sense of an F or H source: an "
               "independent source would make the network active";
        QTest::newRow("gain with a unit") << "P1 1 0\nP2 2 0\nE1 2 0 1 0 5S\n"
            << "3:12: E1: a gain is a ratio: no unit";
        QTest::newRow("resistance and conductance") << "P1 1 0\nP2 2 0\nR1 1 2 X\nR2 2 0 X S\n"
            << "4:8: symbol 'X' is a resistance on line 3 and a conductance here: name the two "
               "values apart";
        QTest::newRow("name cannot be a symbol") << "P1 1 0\nP2 2 0\nR-1 1 2\n"
            << "3:1: 'R-1' has no value and its name cannot be a symbol: write a value, or a "
               "symbol name (a letter, then letters, digits or _)";
        QTest::newRow("hanging node") << "P1 1 0\nP2 2 0\nR1 1 2\nR2 2 5 1k\n"
            << "4:6: node '5' of R2 connects to nothing else: every node needs a second element "
               "or a port";
        QTest::newRow("missing port") << "P1 1 0\nR1 1 0\n\n"
            << "3:1: missing port P2: expected a line 'P2 a b' naming its two terminals";
        QTest::newRow("empty") << ""
            << "1:1: missing port P1: expected a line 'P1 a b' naming its two terminals";
        QTest::newRow("long line") << "P1 1 0\n* " + QString(1000, 'x')
            << "2:1001: line too long: at most 1000 characters";
        // clang-format on
    }
    void errors()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, error);
        QCOMPARE(errorOf(netlist), error);
    }

    void readable_data()
    {
        columns<QString>("netlist");
        QTest::newRow("comments and blank lines")
            << "* a T\n\nP1 1 0 ; port 1\n   P2 3 0\nR1 1 2 1k\r\nR2 2 0\nR3 2 3\n.end\nX9 q\n";
        QTest::newRow("a lattice: ports without a common node")
            << "P1 1 2\nP2 3 4\nRa 1 3\nRb 2 4\nRc 1 4\nRd 2 3\n";
        QTest::newRow("lower-case letters, node names in any case")
            << "p1 In 0\np2 out 0\nr1 in OUT 1k\n";
        QTest::newRow("a port terminal alone") << "P1 1 0\nP2 2 0\nR1 1 0\n";
        QTest::newRow("a sense source named before its line")
            << "P1 1 0\nP2 2 0\nF1 2 0 Vs 5\nVs 1 3 0\nR1 3 0\nR2 2 0\n";
        QTest::newRow("sense source spellings")
            << "P1 1 0\nP2 2 0\nV1 1 3\nV2 3 4 DC 0\nV3 4 5 0V\nV4 5 6 dc 0 V\nR1 6 0\nR2 2 0\n";
    }
    void readable()
    {
        QFETCH(QString, netlist);
        QCOMPARE(errorOf(netlist), QStringLiteral("read"));
    }

    // Too much of anything is refused with its limit, quickly.
    void limits_data()
    {
        columns<QString, QString>("netlist", "error");
        QString many = QStringLiteral("P1 1 0\nP2 2 0\n");
        for (int i = 0; i < maxElements + 1; ++i)
            many += QStringLiteral("R%1 1 2 1k\n").arg(i);
        QTest::newRow("elements") << many
                                  << QStringLiteral("%1:1: too many elements: at most %2")
                                         .arg(maxElements + 1)
                                         .arg(maxElements);
        QString nodes = QStringLiteral("P1 1 0\n");
        for (int i = 0; i < maxNodes; ++i)
            nodes += QStringLiteral("R%1 n%1 0 1k\n").arg(i);
        QTest::newRow("nodes") << nodes
                               // P1 brings two nodes, each resistor one more.
                               << QStringLiteral("%1:%2: too many nodes: at most %3")
                                      .arg(maxNodes)
                                      .arg(QString::number(maxNodes - 2).size() + 3)
                                      .arg(maxNodes);
        QString symbols = QStringLiteral("P1 1 0\nP2 2 0\n");
        for (int i = 0; i <= maxSymbols; ++i)
            symbols += QStringLiteral("R%1 1 2\n").arg(i);
        QTest::newRow("symbols") << symbols
                                 << QStringLiteral("%1:1: too many symbols: at most %2")
                                        .arg(maxSymbols + 3)
                                        .arg(maxSymbols);
        QTest::newRow("lines")
            << QString(maxLines, '\n') + QStringLiteral("x")
            << QStringLiteral("%1:1: too many lines: at most %2").arg(maxLines + 1).arg(maxLines);
    }
    void limits()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, error);
        QCOMPARE(errorOf(netlist), error);
    }

    // What a drawing editor needs to patch a line: its text, spellings and place.
    void elementsAsWritten()
    {
        const ReadResult r = readNetlist(
            QStringLiteral("* h-model\nP1 b e\nVs b b1 0\nRh11 b1 x 2k2 ; base\nEh12 x e c e h12\n"
                           "Fh21 c e Vs h21\nRh22 c e G22  S\nP2 c e\n"));
        QVERIFY(!r.error);
        const QList<ElementInfo> &e = r.netlist.infos;
        QCOMPARE(e.size(), 7);
        QCOMPARE(e[2].name, QStringLiteral("Rh11"));
        QCOMPARE(e[2].valueText, QStringLiteral("2k2"));
        QCOMPARE(e[2].symbol, QString());
        QCOMPARE(e[2].line, 4);
        QCOMPARE(e[3].nodes, (QStringList{"x", "e", "c", "e"}));
        QCOMPARE(e[3].symbol, QStringLiteral("h12"));
        QCOMPARE(e[4].control, QStringLiteral("Vs"));
        QCOMPARE(e[5].valueText, QStringLiteral("G22  S"));
        QVERIFY(e[5].conductance);
        QCOMPARE(e[5].symbol, QStringLiteral("G22"));
        QCOMPARE(r.netlist.symbols, (QStringList{"h12", "h21", "G22"}));
        QCOMPARE(writeElementLine(e[5]), QStringLiteral("Rh22 c e G22 S"));
        QCOMPARE(writeElementLine(e[2]), QStringLiteral("Rh11 b1 x 2.2k"));
        QCOMPARE(writeElementLine(e[4]), QStringLiteral("Fh21 c e Vs h21"));
    }

    // An element without a value stands for a symbol named after it.
    void implicitSymbols()
    {
        const ReadResult r = readNetlist(tee);
        QVERIFY(!r.error);
        QCOMPARE(r.netlist.symbols, (QStringList{"R1", "R2", "R3"}));
        QVERIFY(r.netlist.infos[2].valueText.isEmpty());
        QCOMPARE(r.netlist.infos[2].symbol, QStringLiteral("R1"));
    }

    // A half-made network is read: its elements are there for the drawing, with what it lacks.
    void halfMade()
    {
        const ReadResult r = readNetlist(QStringLiteral("P1 1 0\nR1 1 2\nR2 2 0\n"));
        QVERIFY(r.error);
        QVERIFY(r.readable);
        QCOMPARE(r.netlist.infos.size(), 3);
        QCOMPARE(r.netlist.notes,
                 QStringList{QStringLiteral("Port 2 is missing: no set can be computed.")});
    }

    void latexNames_data()
    {
        columns<QString, QString>("name", "latex");
        QTest::newRow("R1") << "R1"
                            << "R_{1}";
        QTest::newRow("h21") << "h21"
                             << "h_{21}";
        QTest::newRow("mu") << "mu"
                            << "\\mu";
        QTest::newRow("mu1") << "mu1"
                             << "\\mu_{1}";
        QTest::newRow("beta_f") << "beta_f"
                                << "\\beta_{f}";
        QTest::newRow("gm") << "gm"
                            << "g_{m}";
        QTest::newRow("R_load") << "R_load"
                                << "R_{load}";
        QTest::newRow("Omega") << "Omega"
                               << "\\Omega";
        QTest::newRow("music") << "music"
                               << "m_{usic}";
        QTest::newRow("R") << "R"
                           << "R";
        QTest::newRow("R_a_b") << "R_a_b"
                               << "R_{a\\_b}";
    }
    void latexNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, latex);
        QCOMPARE(latexName(name), latex);
    }
};

QTEST_GUILESS_MAIN(TestNetlist)
#include "tst_netlist.moc"
