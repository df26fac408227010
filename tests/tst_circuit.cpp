// The circuit core's answers: textbook networks worked by hand, the invariants every two-port
// keeps, why a set is missing, the fourteen schematics against the calculators' own procedures,
// and the judging of typed values.
#include "circuit/analysis.h"
#include "circuit/engine.h"
#include "support/table.h"
#include "twoport/calcerror.h"
#include "twoport/catalogue.h"
#include "twoport/formulas.h"

#include <QTemporaryFile>
#include <QTextStream>
#include <QtTest>

#include <ginac/ginac.h>

using namespace kvadra;
using namespace kvadra::circuit;

namespace
{
using Values = QMap<QString, QString>;

std::unique_ptr<Analysis> analysed(const QString &netlist, const Values &values = {},
                                   UnitPowers units = {}, bool numericOnly = false)
{
    Request r;
    r.netlist = netlist;
    r.values = values;
    r.units = units;
    r.numericOnly = numericOnly;
    return engine().analyse(r);
}

// A set's exact entries, or what it is instead.
QStringList exactOf(const Report &r, ParameterSet set)
{
    const SetReport &s = r.sets[size_t(set)];
    if (s.state != SetState::Exists)
        return {s.state == SetState::Missing ? QStringLiteral("missing")
                                             : QStringLiteral("singular")};
    QStringList out;
    for (const Exact &e : s.entries)
        out << (e.known ? e.exact : QStringLiteral("?"));
    return out;
}

const QString tee = QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2\nR2 2 0\nR3 2 3\n");
const Values teeValues{{"R1", "1k"}, {"R2", "2k"}, {"R3", "3k"}};
const QString numericTee = QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n");
const QString pi = QStringLiteral("P1 1 0\nP2 2 0\nRG1 1 0 G1 S\nRG2 1 2 G2 S\nRG3 2 0 G3 S\n");
const QString hModel =
    QStringLiteral("P1 b e\nVs b b1 0\nRh11 b1 x h11\nEh12 x e c e2 h12\nFh21 c e2 Vs h21\n"
                   "Rh22 c e2 h22 S\nP2 c e2\n");
const QString lattice = QStringLiteral("P1 1 2\nP2 3 4\nRa 1 3\nRb 2 4\nRc 1 4\nRd 2 3\n");
const UnitPowers kiloMilli{0, 0, 3, -3};

using ExMatrix = std::array<GiNaC::ex, 4>;

// The entries of a set as the core's internals hold them: numbers where every symbol has a
// value, else formulas.
std::optional<ExMatrix> matrixOf(const Analysis &a, ParameterSet set)
{
    const Network &n = *static_cast<const AnalysisImpl &>(a).network();
    if (n.state(set) != SetState::Exists)
        return std::nullopt;
    ExMatrix m;
    for (int k = 0; k < 4; ++k) {
        const EntryValue &v = n.entry(set, k);
        m[size_t(k)] = v.exact ? GiNaC::ex(*v.exact) : *v.formula;
    }
    return m;
}

// Both 2x2 products are the identity.
bool inverses(const ExMatrix &a, const ExMatrix &b)
{
    const ExMatrix p{a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3],
                     a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3]};
    const ExMatrix one{1, 0, 0, 1};
    for (size_t k = 0; k < 4; ++k)
        if (!GiNaC::normal(p[k] - one[k]).is_zero())
            return false;
    return true;
}
} // namespace

// A formula as the core writes it, read back with one symbol per name for every formula.
GiNaC::ex formulaOf(const QString &text)
{
    static GiNaC::parser reader;
    return reader(text.toStdString());
}

class TestCircuit : public QObject
{
    Q_OBJECT
private slots:
    // Worked by hand from the elements, never from the core's own method.
    void textbook_data()
    {
        columns<QString, Values, ParameterSet, QStringList>("netlist", "values", "set", "entries");
        using P = ParameterSet;
        // T of 1, 2, 3 kOhm: Δ = R1R2 + R1R3 + R2R3 = 11e6 Ohm².
        QTest::newRow("T: Z") << tee << teeValues << P::Z
                              << QStringList{"3000", "2000", "2000", "5000"};
        QTest::newRow("T: Y = (R2 + R3)/Δ ...")
            << tee << teeValues << P::Y << QStringList{"1/2200", "-1/5500", "-1/5500", "3/11000"};
        QTest::newRow("T: h11 = R1 + R2 || R3, h12 = R2/(R2 + R3)")
            << tee << teeValues << P::H << QStringList{"2200", "2/5", "-2/5", "1/5000"};
        QTest::newRow("T: g22 = R3 + R1 || R2")
            << tee << teeValues << P::G << QStringList{"1/3000", "-2/3", "2/3", "11000/3"};
        QTest::newRow("T: A = 1 + R1/R2, B = Δ/R2, C = 1/R2, D = 1 + R3/R2")
            << tee << teeValues << P::ABCD << QStringList{"3/2", "5500", "1/2000", "5/2"};
        QTest::newRow("Π of 1, 2, 3 mS: Y")
            << pi << Values{{"G1", "1m"}, {"G2", "2mS"}, {"G3", "3m"}} << P::Y
            << QStringList{"3/1000", "-1/500", "-1/500", "1/200"};
        // Bridged T: the T (1, 2, 1 Ohm) and the bridge (4 Ohm) in parallel on a common
        // ground, so their Y add: 3/5 + 1/4, -2/5 - 1/4.
        QTest::newRow("bridged T: Y")
            << "P1 1 0\nP2 3 0\nR1 1 2 1\nR2 2 0 2\nR3 2 3 1\nR4 1 3 4\n"
            << Values{} << P::Y << QStringList{"17/20", "-13/20", "-13/20", "17/20"};
        // Symmetric lattice, series arms Za, cross arms Zb: z11 = (Za + Zb)/2, z12 = (Zb - Za)/2.
        QTest::newRow("lattice: no common node")
            << lattice << Values{{"Ra", "1"}, {"Rb", "1"}, {"Rc", "3"}, {"Rd", "3"}} << P::Z
            << QStringList{"2", "1", "1", "2"};
        QTest::newRow("h-model: its own h parameters")
            << hModel << Values{{"h11", "1k"}, {"h12", "1/1000"}, {"h21", "100"}, {"h22", "25u"}}
            << P::H << QStringList{"1000", "1/1000", "100", "1/40000"};
        // gm·V1 leaves the top of port 2 through the source: I2 = V2/R2 + gm·V1.
        QTest::newRow("VCCS: y21 = gm")
            << "P1 1 0\nR1 1 0 1k\nG1 2 0 1 0 10mS\nR2 2 0 1k\nP2 2 0\n"
            << Values{} << P::Y << QStringList{"1/1000", "0", "1/100", "1/1000"};
        QTest::newRow("VCVS: z21 = mu·R1")
            << "P1 1 0\nR1 1 0 1k\nE1 2 0 1 0 10\nR2 2 3 50\nP2 3 0\n"
            << Values{} << P::Z << QStringList{"1000", "0", "10000", "50"};
        // One symbol, one value: 1 mS makes Rx 1 kOhm, and so the gain 1000.
        QTest::newRow("VCVS sharing a resistor's symbol given in siemens")
            << "P1 1 0\nRx 1 0\nE1 2 0 1 0 Rx\nR2 2 3 50\nP2 3 0\n"
            << Values{{"Rx", "1mS"}} << P::Z << QStringList{"1000", "0", "1000000", "50"};
        QTest::newRow("CCVS: z21 = r")
            << "P1 1 0\nVs 1 2 0\nR1 2 0 1k\nH1 3 0 Vs 500\nR2 3 4 100\nP2 4 0\n"
            << Values{} << P::Z << QStringList{"1000", "0", "500", "100"};
        QTest::newRow("CCCS against its sense: h21 = -beta")
            << "P1 1 0\nVs 1 2 0\nR1 2 0 1k\nF1 0 3 Vs 50\nR2 3 0 1k\nP2 3 0\n"
            << Values{} << P::H << QStringList{"1000", "0", "-50", "1/1000"};
        QTest::newRow("a wire in series: R = 0")
            << "P1 1 0\nP2 2 0\nR1 1 2 0\nR2 2 0 10\n"
            << Values{} << P::Z << QStringList{"10", "10", "10", "10"};
        QTest::newRow("an open element: 0 S")
            << "P1 1 0\nP2 2 0\nR1 1 2 0S\nR2 1 0 10\nR3 2 0 20\n"
            << Values{} << P::Z << QStringList{"10", "0", "0", "20"};
    }
    void textbook()
    {
        QFETCH(QString, netlist);
        QFETCH(Values, values);
        QFETCH(ParameterSet, set);
        QFETCH(QStringList, entries);
        const auto a = analysed(netlist, values);
        QCOMPARE(a->report().error.value_or(NetlistError{}).message, QString());
        QCOMPARE(exactOf(a->report(), set), entries);
    }

    // Whatever the method, inverse sets multiply to the identity and each set agrees with the
    // textbook conversion from Z; passive networks are reciprocal.
    void invariants_data()
    {
        columns<QString, Values, bool>("netlist", "values", "reciprocal");
        QTest::newRow("T, symbols") << tee << Values{} << true;
        QTest::newRow("T, values") << tee << teeValues << true;
        QTest::newRow("Π, symbols") << pi << Values{} << true;
        QTest::newRow("lattice, symbols") << lattice << Values{} << true;
        QTest::newRow("h-model, symbols") << hModel << Values{} << false;
        QTest::newRow("h-model, values")
            << hModel << Values{{"h11", "1k"}, {"h12", "2/1000"}, {"h21", "-3"}, {"h22", "1m"}}
            << false;
        QTest::newRow("bridged T with a VCCS")
            << "P1 1 0\nP2 3 0\nR1 1 2 1\nR2 2 0 2\nR3 2 3 1\nR4 1 3 4\nG1 3 0 2 0 1/7\n"
            << Values{} << false;
        QTest::newRow("negative resistances")
            << tee << Values{{"R1", "-1k"}, {"R2", "2.5k"}, {"R3", "-700"}} << true;
    }
    void invariants()
    {
        QFETCH(QString, netlist);
        QFETCH(Values, values);
        QFETCH(bool, reciprocal);
        const auto a = analysed(netlist, values);
        QVERIFY(!a->report().error);
        const auto z = matrixOf(*a, ParameterSet::Z), y = matrixOf(*a, ParameterSet::Y),
                   h = matrixOf(*a, ParameterSet::H), g = matrixOf(*a, ParameterSet::G),
                   abcd = matrixOf(*a, ParameterSet::ABCD);
        QVERIFY(z && y && h && g && abcd);
        QVERIFY(inverses(*z, *y));
        QVERIFY(inverses(*h, *g));
        const ExMatrix &m = *z;
        const GiNaC::ex det = m[0] * m[3] - m[1] * m[2];
        // With I2 out of port 2: A = z11/z21, B = ΔZ/z21, C = 1/z21, D = z22/z21.
        const ExMatrix fromZ{m[0] / m[2], det / m[2], 1 / m[2], m[3] / m[2]};
        const ExMatrix hFromZ{det / m[3], m[1] / m[3], -m[2] / m[3], 1 / m[3]};
        for (size_t k = 0; k < 4; ++k) {
            QVERIFY(GiNaC::normal((*abcd)[k] - fromZ[k]).is_zero());
            QVERIFY(GiNaC::normal((*h)[k] - hFromZ[k]).is_zero());
        }
        QCOMPARE(a->report().reciprocal, std::optional(reciprocal));
    }

    void reasons_data()
    {
        columns<QString, Values, ParameterSet, SetState, QString>("netlist", "values", "set",
                                                                  "state", "reason");
        using P = ParameterSet;
        QTest::newRow("port 2 shorted by its own node")
            << "P1 1 0\nP2 0 0\nR1 1 0\n"
            << Values{} << P::Y << SetState::Missing
            << "No Y parameters: port 2 is shorted — both its terminals are node 0, so no voltage "
               "can be applied to it.";
        QTest::newRow("port 2 shorted by a wire")
            << "P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 3 0 0\nR3 2 3 1k\n"
            << Values{} << P::H << SetState::Missing
            << "No H parameters: port 2 is shorted — R2 = 0 joins its terminals 3 and 0, so no "
               "voltage can be applied to it.";
        QTest::newRow("port 2 joined to nothing")
            << "P1 1 0\nP2 2 0\nRG1 1 0 G1 S\n"
            << Values{} << P::Z << SetState::Missing
            << "No Z parameters: nothing inside the network joins port 2's terminals, so no "
               "current can be driven into it while port 1 is open.";
        QTest::newRow("the same, with port 1 shorted")
            << "P1 1 0\nP2 2 0\nRG1 1 0 G1 S\n"
            << Values{} << P::G << SetState::Missing
            << "No G parameters: nothing inside the network joins port 2's terminals, so no "
               "current can be driven into it while port 1 is shorted.";
        QTest::newRow("both ports joined to nothing")
            << "P1 1 0\nP2 2 0\n"
            << Values{} << P::Z << SetState::Missing
            << "No Z parameters: nothing inside the network joins port 1's terminals, so no "
               "current can be driven into it while port 2 is open; and nothing inside the "
               "network joins port 2's terminals, so no current can be driven into it while port "
               "1 is open.";
        QTest::newRow("ports on separate networks")
            << "P1 1 0\nP2 2 3\nR1 1 0 5\nR2 2 3 7\n"
            << Values{} << P::ABCD << SetState::Missing
            << "No ABCD parameters: nothing passes from port 1 to port 2, so the voltage and "
               "current at port 2 do not fix those at port 1 (no element joins port 1 to port "
               "2).";
        QTest::newRow("a T whose middle is grounded")
            << "P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 0\nR3 2 3 3k\n"
            << Values{} << P::ABCD << SetState::Missing
            << "No ABCD parameters: nothing passes from port 1 to port 2, so the voltage and "
               "current at port 2 do not fix those at port 1 (port 1 and port 2 meet only at "
               "node 0).";
        QTest::newRow("ports in parallel")
            << "P1 1 0\nP2 1 0\nR1 1 0 5\n"
            << Values{} << P::Y << SetState::Missing
            << "No Y parameters: the network ties V1 and V2 together (V1 = V2), so the Y test "
               "cannot set them apart.";
        QTest::newRow("symbols whose values cancel")
            << tee << Values{{"R1", "1k"}, {"R2", "-1k"}, {"R3", "3k"}} << P::G
            << SetState::Singular
            << "These values make the G test have no unique answer: they make z11 zero. Other "
               "values give the G parameters.";
        QTest::newRow("numbers that cancel")
            << "P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 -1k\nR3 2 3 3k\n"
            << Values{} << P::G << SetState::Singular
            << "These values make the G test have no unique answer: they make z11 zero. Other "
               "values give the G parameters.";
        QTest::newRow("a balanced lattice")
            << lattice << Values{{"Ra", "1"}, {"Rb", "2"}, {"Rc", "1"}, {"Rd", "2"}} << P::ABCD
            << SetState::Singular
            << "These values make the ABCD test have no unique answer: they make z21 zero. Other "
               "values give the ABCD parameters.";
    }
    void reasons()
    {
        QFETCH(QString, netlist);
        QFETCH(Values, values);
        QFETCH(ParameterSet, set);
        QFETCH(SetState, state);
        QFETCH(QString, reason);
        const auto a = analysed(netlist, values);
        QVERIFY(!a->report().error);
        const SetReport &r = a->report().sets[size_t(set)];
        QCOMPARE(int(r.state), int(state));
        QCOMPARE(r.reason, reason);
    }

    // The core with the values put in against the calculators' procedures, to 13 digits, with
    // the same sets missing: every schematic, several value sets, two unit choices.
    void schematics_data()
    {
        columns<int, QStringList, UnitPowers>("number", "typed", "units");
        const QList<QStringList> valueSets{{"1", "2", "3"},
                                           {"1.5", "-0.5", "4.7"},
                                           {"2", "-2", "3"},
                                           {"0.25", "40", "7.5"},
                                           {"-3", "3", "-3"}};
        for (int number = 1; number <= 14; ++number)
            for (int v = 0; v < valueSets.size(); ++v)
                for (const UnitPowers &u : {UnitPowers{}, kiloMilli})
                    QTest::addRow("%d, values %d, %s", number, v,
                                  u.ohm == 0 ? "base units" : "kOhm and mS")
                        << number << valueSets[v] << u;
    }
    void schematics()
    {
        QFETCH(int, number);
        QFETCH(QStringList, typed);
        QFETCH(UnitPowers, units);
        const Schematic &s = *schematicByNumber(number);
        const bool r = s.family == Family::Resistance;
        std::array<double, 3> display{};
        Values values;
        for (int k = 0; k < 3; ++k) {
            // The calculators take an absent element as 0; the netlist leaves it out.
            if (!s.hasElement(k + 1))
                continue;
            display[size_t(k)] = typed[k].toDouble();
            // The netlist takes base units: ohm or siemens.
            values.insert((r ? QStringLiteral("R%1") : QStringLiteral("G%1")).arg(k + 1),
                          typed[k] + (r                     ? units.ohm == 3 ? "k" : ""
                                      : units.siemens == -3 ? "m"
                                                            : ""));
        }
        const auto a = analysed(engine().schematicNetlist(number), values, units);
        QVERIFY(!a->report().error);
        for (const auto &[set, procedure] :
             {std::pair{ParameterSet::Z, s.zProcedure}, std::pair{ParameterSet::Y, s.yProcedure}}) {
            const SetReport &now = a->report().sets[size_t(set)];
            std::optional<Matrix> calculated;
            if (procedure != Procedure::None) {
                try {
                    calculated = runProcedure(procedure, display[0], display[1], display[2],
                                              units.ohm, units.siemens);
                } catch (const CalcError &) {
                    // The values make the calculator's inversion fail: a singular set.
                }
            }
            QVERIFY2(bool(calculated) == (now.state == SetState::Exists),
                     qPrintable(setName(set) + QStringLiteral(": ") + now.reason));
            for (int k = 0; k < 4 && calculated; ++k) {
                const double expected = (*calculated)[size_t(k)];
                const double got = now.entries[size_t(k)].decimal;
                QVERIFY2(std::abs(got - expected) <= 1e-13 * std::abs(expected),
                         qPrintable(QStringLiteral("%1: %2 against %3")
                                        .arg(entryName(set, k))
                                        .arg(got, 0, 'g', 17)
                                        .arg(expected, 0, 'g', 17)));
            }
        }
    }

    void formulas_data()
    {
        columns<QString, ParameterSet, int, QString, QString>("netlist", "set", "entry", "formula",
                                                              "latex");
        using P = ParameterSet;
        QTest::newRow("T y11") << tee << P::Y << 0 << "(R2 + R3)/(R1*R2 + R1*R3 + R2*R3)"
                               << "\\frac{R_{2} + R_{3}}{R_{1} R_{2} + R_{1} R_{3} + R_{2} R_{3}}";
        QTest::newRow("T y12") << tee << P::Y << 1 << "-R2/(R1*R2 + R1*R3 + R2*R3)"
                               << "-\\frac{R_{2}}{R_{1} R_{2} + R_{1} R_{3} + R_{2} R_{3}}";
        QTest::newRow("T z11") << tee << P::Z << 0 << "R1 + R2"
                               << "R_{1} + R_{2}";
        QTest::newRow("T C") << tee << P::ABCD << 2 << "1/R2"
                             << "\\frac{1}{R_{2}}";
        QTest::newRow("Π z11, conductances")
            << pi << P::Z << 0 << "(G2 + G3)/(G1*G2 + G1*G3 + G2*G3)"
            << "\\frac{G_{2} + G_{3}}{G_{1} G_{2} + G_{1} G_{3} + G_{2} G_{3}}";
        QTest::newRow("lattice z12, a leading minus in front")
            << lattice << P::Z << 1 << "-(Ra*Rb - Rc*Rd)/(Ra + Rb + Rc + Rd)"
            << "-\\frac{R_{a} R_{b} - R_{c} R_{d}}{R_{a} + R_{b} + R_{c} + R_{d}}";
        QTest::newRow("h-model A") << hModel << P::ABCD << 0 << "-(h11*h22 - h12*h21)/h21"
                                   << "-\\frac{h_{11} h_{22} - h_{12} h_{21}}{h_{21}}";
        QTest::newRow("greek gain, numbers kept")
            << "P1 1 0\nR1 1 0 2\nE1 2 0 1 0 mu\nR2 2 3 R\nP2 3 0\n"
            << P::Z << 2 << "2*mu"
            << "2 \\mu";
        QTest::newRow("a power") << "P1 1 0\nP2 3 0\nRa 1 2 R\nRb 2 0 R\nRc 2 3 R\nRd 3 0 R\n"
                                 << P::Y << 1 << "-1/(3*R)"
                                 << "-\\frac{1}{3 R}";
    }
    void formulas()
    {
        QFETCH(QString, netlist);
        QFETCH(ParameterSet, set);
        QFETCH(int, entry);
        QFETCH(QString, formula);
        QFETCH(QString, latex);
        const auto a = analysed(netlist);
        QVERIFY(!a->report().error);
        const Exact &e = a->report().sets[size_t(set)].entries[size_t(entry)];
        QCOMPARE(e.formula, formula);
        QCOMPARE(e.formulaLatex, latex);
        QVERIFY(!e.known);
    }

    // Display units divide exactly; the working shows the formula with the values in.
    void unitsAndWorking()
    {
        const auto a = analysed(tee, teeValues, kiloMilli);
        const Exact &y11 = a->report().sets[size_t(ParameterSet::Y)].entries[0];
        QCOMPARE(y11.exact, QStringLiteral("5/11"));
        QCOMPARE(y11.exactLatex, QStringLiteral("\\frac{5}{11}"));
        QCOMPARE(y11.decimal, 5.0 / 11);
        QCOMPARE(y11.decimalText, QStringLiteral("0.454545454545455"));
        QCOMPARE(y11.working,
                 QStringLiteral("y11 = I1/V1 with port 2 shorted (V2 = 0)\n"
                                "y11 = (R2 + R3)/(R1*R2 + R1*R3 + R2*R3) = (2000 + 3000)/"
                                "(1000*2000 + 1000*3000 + 2000*3000) = 1/2200 S = 5/11 mS ≈ "
                                "0.454545454545455 mS"));
        const Exact &b = a->report().sets[size_t(ParameterSet::ABCD)].entries[1];
        QCOMPARE(b.exact, QStringLiteral("11/2"));
        QVERIFY(b.working.startsWith(QStringLiteral(
            "B = V1/(−I2) with port 2 shorted (V2 = 0), −I2 the current out of port 2\n")));
    }

    void decimals_data()
    {
        columns<QString, QString>("exact", "decimal");
        QTest::newRow("5/11") << "5/11"
                              << "0.454545454545455";
        QTest::newRow("2/3") << "2/3"
                             << "0.666666666666667";
        QTest::newRow("-1/7") << "-1/7"
                              << "-0.142857142857143";
        QTest::newRow("small") << "3/20000000"
                               << "1.5e-07";
        QTest::newRow("0.0001") << "1/10000"
                                << "0.0001";
        QTest::newRow("large") << "250000000000000000000"
                               << "2.5e+20";
        QTest::newRow("15 digits whole") << "123456789012345"
                                         << "123456789012345";
        QTest::newRow("16 digits whole") << "1234567890123456"
                                         << "1.23456789012346e+15";
        QTest::newRow("tie to even, down") << "1234567890123445/10000000000000000"
                                           << "0.123456789012344";
        QTest::newRow("tie to even, up") << "1234567890123455/10000000000000000"
                                         << "0.123456789012346";
        QTest::newRow("rounds up a decade") << "9999999999999999/1000"
                                            << "10000000000000";
    }
    void decimals()
    {
        QFETCH(QString, exact);
        QFETCH(QString, decimal);
        QCOMPARE(decimalText(GiNaC::numeric(exact.toLatin1().constData())), decimal);
    }

    void judge_data()
    {
        columns<QString, ParameterSet, int, QString, int, QString>("netlist", "set", "entry",
                                                                   "typed", "kind", "brief");
        using P = ParameterSet;
        const int match = Verdict::Match, slip = Verdict::Slip, unreadable = Verdict::Unreadable,
                  unexplained = Verdict::Unexplained, empty = Verdict::Empty;
        // In kOhm and mS: y11 = 5/11 mS = 0.454545..., y12 = -2/11, z11 = 3 kOhm.
        // clang-format off
        const QList<std::tuple<const char *, P, int, const char *, int, const char *>> rows{
            {"numeric", P::Y, 0, "  ", empty, ""},
            {"numeric", P::Y, 0, "0.45", match, "matches to the 2 digits typed"},
            {"numeric", P::Y, 0, "0,4545", match, "matches to the 4 digits typed"},
            {"numeric", P::Y, 0, "0.455", match, "matches to the 3 digits typed"},
            {"numeric", P::Y, 0, "0.454", match, "matches to the 3 digits typed, cut off"},
            {"numeric", P::Y, 0, "0.4546", match, "matches to the 4 digits typed, rounded in steps"},
            {"numeric", P::Y, 0, "0.454545454545454545", match,
             "matches to the 18 digits typed"},
            {"numeric", P::Y, 0, "454.5455u S", match, "matches to the 7 digits typed"},
            {"numeric", P::Y, 0, "454.5454u", slip, "off by a factor of 1/1000"},
            {"numeric", P::Y, 0, "5/11", match, "matches exactly"},
            {"numeric", P::Y, 0, "0.45 mS", match, "matches to the 2 digits typed"},
            {"numeric", P::Y, 0, "0.00045 S", match, "matches to the 2 digits typed"},
            {"numeric", P::Y, 0, "4.5e-1", match, "matches to the 2 digits typed"},
            {"numeric", P::Y, 0, "0.4545454545454546", slip, "rounded too early?"},
            {"numeric", P::Y, 0, "10/22", match, "matches exactly"},
            {"numeric", P::Y, 0, "6/11", unexplained, "no usual slip: see the working"},
            {"numeric", P::Y, 0, "-0.45", slip, "sign lost"},
            {"numeric", P::Y, 0, "454.5", slip, "off by a factor of 1000"},
            {"numeric", P::Y, 0, "0.45m", slip, "off by a factor of 1/1000"},
            {"numeric", P::Y, 0, "0.333", slip, "that is 1/z11"},
            {"numeric", P::Y, 0, "-0.182", slip, "that is y12"},
            {"numeric", P::Y, 0, "0.4549", slip, "rounded too early?"},
            {"numeric", P::Y, 0, "0.4", match, "matches to the 1 digit typed, cut off"},
            {"numeric", P::Y, 0, "0.6", unexplained, "no usual slip: see the working"},
            {"numeric", P::Y, 0, "1.5", slip, "that is A"},
            {"numeric", P::Y, 1, "0", slip, "it does not vanish"},
            {"numeric", P::Y, 1, "-0.2", match, "matches to the 1 digit typed"},
            {"numeric", P::Y, 0, "0.45 ohm", unreadable, "wrong unit"},
            {"numeric", P::H, 1, "0.4 S", unreadable, "wrong unit"},
            {"numeric", P::Y, 0, "1M", unreadable, "not a value"},
            {"numeric", P::Y, 0, "zz", unreadable, "unknown name"},
            {"numeric", P::Y, 0, "0.4.5", unreadable, "not a value"},
            {"numeric", P::Z, 0, "3", match, "matches to the 1 digit typed"},
            {"numeric", P::Z, 0, "3k ohm", match, "matches to the 1 digit typed"},
            {"numeric", P::Z, 0, "3000", slip, "off by a factor of 1000"},
            {"numeric", P::Z, 1, "5", slip, "that is z22"},
            {"numeric", P::Z, 0, "11", slip, "that is the determinant of Z"},
            {"numeric", P::H, 0, "3", slip, "that is 1/g11"},
            {"numeric", P::H, 0, "3.0", slip, "that is 1/g11"},
            {"numeric", P::H, 2, "2/3", slip, "that is g21"},
            {"symbolic", P::Y, 0, "(R2+R3)/(R1*R2+R1*R3+R2*R3)", match, "matches for every value"},
            {"symbolic", P::Y, 0, "(R3 + R2)/(R1·R2 + R1×R3 + R3*R2)", match,
             "matches for every value"},
            {"symbolic", P::Y, 0, "−(R2 + R3)/(R1*R2 + R1*R3 + R2*R3)", slip, "sign lost"},
            {"symbolic", P::Y, 0, "1/(R1 + R2)", slip, "that is 1/z11"},
            {"symbolic", P::Y, 0, "(R1 + R2)/(R1*R2 + R1*R3 + R2*R3)", slip, "that is y22"},
            {"symbolic", P::Y, 0, "(R1*R2 + R1*R3 + R2*R3)/(R2 + R3)", slip, "that is h11"},
            {"symbolic", P::Y, 0, "R2 + R3", unexplained, "no usual slip: see the working"},
            {"symbolic", P::Y, 0, "R1 R2", unreadable, "not a value"},
            {"symbolic", P::Y, 0, "R4", unreadable, "unknown name"},
            {"symbolic", P::Y, 0, "R1^99", unreadable, "not a value"},
            {"symbolic", P::Y, 0, "0.45", unexplained, "no value yet"},
            {"valued", P::Y, 0, "0.45", match, "matches to the 2 digits typed"},
            {"valued", P::Y, 0, "(R2+R3)/(R1*R2+R1*R3+R2*R3)", match, "matches for every value"},
            {"valued", P::Y, 0, "5000/11000", match, "matches exactly"},
        };
        // clang-format on
        for (const auto &[netlist, set, entry, typed, kind, brief] : rows)
            QTest::addRow("%s %s: %s", netlist, qPrintable(entryName(set, entry)), typed)
                << QString::fromLatin1(netlist) << set << entry << QString::fromUtf8(typed) << kind
                << QString::fromUtf8(brief);
    }
    void judge()
    {
        QFETCH(QString, netlist);
        QFETCH(ParameterSet, set);
        QFETCH(int, entry);
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, brief);
        const auto a = netlist == QLatin1String("numeric")    ? analysed(numericTee, {}, kiloMilli)
                       : netlist == QLatin1String("symbolic") ? analysed(tee, {}, kiloMilli)
                                                              : analysed(tee, teeValues, kiloMilli);
        const Verdict v = a->judge(set, entry, typed);
        QCOMPARE(v.brief, brief);
        QCOMPARE(int(v.kind), kind);
    }

    // The words of a verdict, where they carry the value or the names.
    void verdictTexts()
    {
        const auto a = analysed(numericTee, {}, kiloMilli);
        QCOMPARE(a->judge(ParameterSet::Y, 1, QStringLiteral("0")).text,
                 QStringLiteral("It does not vanish: y12 is -0.181818, not 0."));
        QCOMPARE(a->judge(ParameterSet::Y, 0, QStringLiteral("0.4546")).text,
                 QStringLiteral("It matches to the 4 digits typed, rounded in steps; rounded at "
                                "once it is 0.4545."));
        QCOMPARE(a->judge(ParameterSet::Y, 0, QStringLiteral("Rx")).text,
                 QStringLiteral("'Rx' is not a name in this network: this network has no "
                                "symbols."));
        const auto s = analysed(tee);
        QCOMPARE(s->judge(ParameterSet::Y, 0, QStringLiteral("R4")).text,
                 QStringLiteral("'R4' is not a name in this network: its names are R1, R2, R3."));
        const auto missing = analysed(QStringLiteral("P1 1 0\nP2 0 0\nR1 1 0\n"));
        QCOMPARE(missing->judge(ParameterSet::Y, 0, QStringLiteral("1")).brief,
                 QStringLiteral("no such set"));
    }

    void terminated_data()
    {
        columns<QString, QString, QString, QStringList>("netlist", "zs", "zl", "expected");
        // T of 1, 2, 3 kOhm between 50 Ohm and 1 kOhm: Zin = 1k + 2k || 4k,
        // Zout = 3k + 2k || 1.05k, Av = (4/7)(1/4), Avs = Av·Zin/(Zin + Zs), Ai = R2/(R2 + R3 +
        // RL), Vth = R2/(Rs + R1 + R2), P = Avs²/RL.
        QTest::newRow("T") << numericTee << "50"
                           << "1k" << QStringList{"7000/3", "225000/61", "1/7",     "20/143",
                                                  "1/3",    "40/61",     "2/102245"};
        QTest::newRow("open load: 0 S")
            << numericTee << "0"
            << "0S" << QStringList{"3000", "11000/3", "2/3", "2/3", "0", "2/3", "0"};
        QTest::newRow("port 1 joined to nothing")
            << "P1 1 0\nP2 2 0\nR1 2 0 100\n"
            << "50"
            << "100"
            << QStringList{"No Zin: with the load at port 2, no current can be driven into port 1 "
                           "(Zin is infinite).",
                           "100",
                           "0",
                           "0",
                           "No Ai: with the load at port 2, no current can be driven into port 1.",
                           "0",
                           "0"};
        QTest::newRow("a source that cancels Zin")
            << numericTee << "-7000/3"
            << "1k"
            // Zout = R3 + R2 || (R1 + Zs) = 3000 - 4000, Vth = R2/(R1 + R2 + Zs) = 2000/(2000/3).
            << QStringList{"7000/3",
                           "-1000",
                           "1/7",
                           "No Avs: the source's loop is a short: Zs + Zin = 0.",
                           "1/3",
                           "3",
                           "No P: the source's loop is a short: Zs + Zin = 0."};
    }
    void terminated()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, zs);
        QFETCH(QString, zl);
        QFETCH(QStringList, expected);
        const auto a = analysed(netlist);
        const Terminated t = a->terminate(zs, zl);
        QVERIFY(!t.error);
        QStringList got;
        for (const auto &[name, value] : t.quantities)
            got << (value ? value->exact : t.missing.value(name));
        QCOMPARE(got, expected);
    }

    void terminatedFormulas()
    {
        const auto a = analysed(tee);
        const Terminated t = a->terminate(QStringLiteral("Rs"), QStringLiteral("RL"));
        QCOMPARE(t.quantities[0].second->formula,
                 QStringLiteral("(R1*R2 + R1*R3 + R1*RL + R2*R3 + R2*RL)/(R2 + R3 + RL)"));
        QCOMPARE(t.quantities[5].second->formula, QStringLiteral("R2/(R1 + R2 + Rs)"));
        QCOMPARE(a->judgeTerminated(QStringLiteral("Rs"), QStringLiteral("RL"),
                                    QStringLiteral("Ai"), QStringLiteral("R2/(R2+R3+RL)"))
                     .kind,
                 Verdict::Match);
        QCOMPARE(a->judgeTerminated(QStringLiteral("Rs"), QStringLiteral("RL"),
                                    QStringLiteral("Vth"), QStringLiteral("(R1+R2+Rs)/R2"))
                     .brief,
                 QStringLiteral("upside down"));
        QVERIFY(a->terminate(QStringLiteral("1M"), QStringLiteral("1k")).error);
    }

    // Two textbook invariants, in the element names: a symmetric lattice (series arms Za, cross
    // arms Zb) loaded with its characteristic impedance sqrt(Za·Zb) shows that same impedance at
    // its input; and the output impedance with an ideal source is 1/y22 of any network.
    void terminatedInvariants()
    {
        const auto lat =
            analysed(lattice, {{"Ra", "1k"}, {"Rb", "1k"}, {"Rc", "4k"}, {"Rd", "4k"}});
        QCOMPARE(
            lat->terminate(QStringLiteral("0"), QStringLiteral("2k")).quantities[0].second->exact,
            QStringLiteral("2000"));
        for (const QString &netlist : {tee, lattice}) {
            const auto a = analysed(netlist);
            const auto zout = a->terminate(QStringLiteral("0"), QStringLiteral("RL")).quantities[1];
            QCOMPARE(zout.first, QStringLiteral("Zout"));
            const GiNaC::ex y22 =
                GiNaC::ex(1) /
                formulaOf(a->report().sets[size_t(ParameterSet::Y)].entries[3].formula);
            QVERIFY2(GiNaC::normal(formulaOf(zout.second->formula) - y22).is_zero(),
                     qPrintable(zout.second->formula));
        }
    }

    // T from Z and Π from Y give back the elements they were built from.
    void equivalents()
    {
        const auto t = analysed(numericTee);
        const Equivalent &tee = t->report().tee;
        QVERIFY(tee.exists);
        QCOMPARE(tee.parts.size(), 3);
        QCOMPARE(tee.parts[0].second.exact, QStringLiteral("1000"));
        QCOMPARE(tee.parts[1].second.exact, QStringLiteral("2000"));
        QCOMPARE(tee.parts[2].second.exact, QStringLiteral("3000"));
        const auto p = analysed(pi);
        QCOMPARE(p->report().pi.parts[1].second.formula, QStringLiteral("G2"));
        QCOMPARE(p->report().pi.parts[2].second.formula, QStringLiteral("G3"));
        // Not reciprocal: z21 - z12 = r of the source, here 500 Ohm.
        const auto h = analysed(
            QStringLiteral("P1 1 0\nVs 1 2 0\nR1 2 0 1k\nH1 3 0 Vs 500\nR2 3 4 100\nP2 4 0\n"));
        const Equivalent &nr = h->report().tee;
        QCOMPARE(nr.parts.size(), 4);
        QCOMPARE(nr.parts[3].first, QStringLiteral("r"));
        QCOMPARE(nr.parts[3].second.exact, QStringLiteral("500"));
        // y21 - y12 = -z21/ΔZ = -500/100000.
        QCOMPARE(h->report().pi.parts[3].second.exact, QStringLiteral("-1/200"));
    }

    void symmetry()
    {
        QCOMPARE(analysed(lattice)->report().symmetric, std::optional(false));
        QCOMPARE(analysed(lattice, Values{{"Ra", "1"}, {"Rb", "1"}, {"Rc", "3"}, {"Rd", "3"}})
                     ->report()
                     .symmetric,
                 std::optional(true));
    }

    // Symbols without values keep their formulas and wait for numbers.
    void unvalued()
    {
        const auto a = analysed(tee, Values{{"R1", "1k"}, {"R9", "5"}});
        QCOMPARE(a->report().unvalued, (QStringList{"R2", "R3"}));
        const Exact &z11 = a->report().sets[0].entries[0];
        QVERIFY(!z11.known);
        QCOMPARE(z11.formula, QStringLiteral("R1 + R2"));
        QVERIFY(z11.working.endsWith(QStringLiteral("z11 has no number while R2, R3 have no "
                                                    "value")));
        QVERIFY(analysed(tee, Values{{"R1", "1x"}})->report().error);
    }

    // Past what a student can read, the formula is left out and the numbers stay exact.
    void longFormulas()
    {
        QString ladder = QStringLiteral("P1 1 0\n");
        Values values;
        for (int k = 1; k <= 5; ++k) {
            ladder += QStringLiteral("Ra%1 %1 %2\nRb%1 %2 0\n").arg(k).arg(k + 1);
            values.insert(QStringLiteral("Ra%1").arg(k), QStringLiteral("1k"));
            values.insert(QStringLiteral("Rb%1").arg(k), QStringLiteral("1k"));
        }
        ladder += QStringLiteral("G1 4 0 6 0 gm\nP2 6 0\n");
        values.insert(QStringLiteral("gm"), QStringLiteral("1m"));
        const auto a = analysed(ladder, values);
        const Exact &z11 = a->report().sets[0].entries[0];
        QVERIFY(z11.formulaTooLong);
        QVERIFY(z11.formula.isEmpty());
        QVERIFY(z11.known);
        QVERIFY(z11.formulaTerms > 60);
        // The same numbers with the values put in first.
        const auto quick = analysed(ladder, values, {}, true);
        for (ParameterSet set : allParameterSets)
            QCOMPARE(exactOf(quick->report(), set), exactOf(a->report(), set));
        QVERIFY(quick->report().sets[0].entries[0].formula.isEmpty());
    }

    // The command line's contract: exit codes and the first line of what it says.
    void commandLine_data()
    {
        columns<QStringList, int, QString>("args", "code", "said");
        const QString usage = QStringLiteral("usage: kvadra --parameters FILE|- [--value "
                                             "NAME=VALUE]... [--source ZS --load ZL] [--join "
                                             "cascade|series|parallel|series-parallel|"
                                             "parallel-series OTHER] [--json]");
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage;
        QTest::newRow("no file") << QStringList{"--json"} << 2 << "--parameters FILE is needed";
        QTest::newRow("unknown option") << QStringList{"--parameters", "TEE", "--frobnicate"} << 2
                                        << "unknown argument '--frobnicate'";
        QTest::newRow("source without load") << QStringList{"--parameters", "TEE", "--source", "50"}
                                             << 2 << "--source and --load go together";
        QTest::newRow("unknown join")
            << QStringList{"--parameters", "TEE", "--join", "sideways", "TEE"} << 2
            << "unknown join 'sideways'";
        QTest::newRow("no such file") << QStringList{"--parameters", "/nonexistent/x.cir"} << 2
                                      << "/nonexistent/x.cir: cannot read it: No such file or "
                                         "directory";
        QTest::newRow("unknown symbol")
            << QStringList{"--parameters", "TEE", "--value", "R9=1k"} << 2
            << "--value: no symbol 'R9' in the netlist; its symbols: R1, R2, R3";
        QTest::newRow("bad value") << QStringList{"--parameters", "TEE", "--value", "R1=1M"} << 2
                                   << "--value R1: ambiguous prefix 'M': write 'meg' for mega "
                                      "(10^6) or 'm' for milli (10^-3)";
        QTest::newRow("bad load") << QStringList{"--parameters", "TEE",    "--source",
                                                 "50",           "--load", "2 2"}
                                  << 2
                                  << "--source/--load: load: unexpected '2' after the value: "
                                     "expected a unit (Ω, ohm or S)";
        QTest::newRow("fine") << QStringList{"--parameters", "TEE", "--value", "R1=1k"} << 0
                              << "Network TEE, symbols R1, R2, R3 (without values: R2, R3)";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(tee.toUtf8());
        file.close();
        args.replaceInStrings(QStringLiteral("TEE"), file.fileName());
        said.replace(QStringLiteral("TEE"), file.fileName());
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(engine().commandLine(args, o, e), code);
        o.flush();
        e.flush();
        QCOMPARE((code == 0 ? out : err).section(QLatin1Char('\n'), 0, 0), said);
    }

    void cancel()
    {
        const std::atomic<bool> stop{true};
        Request r;
        r.netlist = tee;
        QVERIFY(!engine().analyse(r, &stop));
    }

    // A netlist that cannot be solved says so once, with nothing else.
    void unreadable()
    {
        const auto a = analysed(QStringLiteral("P1 1 0\nR1 1 0\n"));
        QVERIFY(a->report().error);
        QCOMPARE(a->report().elements.size(), 2);
        QCOMPARE(a->report().sets[0].entries[0].exact, QString());
        QCOMPARE(a->judge(ParameterSet::Z, 0, QStringLiteral("1")).kind, Verdict::Unexplained);
        QVERIFY(a->terminate(QStringLiteral("1"), QStringLiteral("1")).error);
    }
};

QTEST_GUILESS_MAIN(TestCircuit)
#include "tst_circuit.moc"
