// The terminated network and the joined networks as their views show them: values worked by
// hand for a T between a source and a load, a quantity that cannot exist, the student's own
// values judged, and the classic trap of two T networks joined in series.
#include "circuit/loader.h"
#include "exercise/joinview.h"
#include "exercise/terminatedview.h"
#include "support/session.h"
#include "twoport/numbertext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(kvadra::UnitPowers)

using namespace kvadra;
using Values = QMap<QString, QString>;

namespace
{
const circuit::Engine &core()
{
    QString why;
    const circuit::Engine *engine = circuit::circuitEngine(&why);
    if (!engine)
        qFatal("no circuit core: %s", qPrintable(why));
    return *engine;
}

// Schematic 11: R1 from port 1 to the middle, R2 from the middle to the common line, R3 on to
// port 2.
circuit::Request tee(const Values &values = {{"R1", "1k"}, {"R2", "2k"}, {"R3", "3k"}},
                     UnitPowers units = {})
{
    circuit::Request r;
    {
        const circuit::EngineLock lock;
        r.netlist = core().schematicNetlist(11);
    }
    r.values = values;
    r.units = units;
    return r;
}

circuit::Request schematic(int number, const Values &values)
{
    circuit::Request r = tee(values);
    const circuit::EngineLock lock;
    r.netlist = core().schematicNetlist(number);
    return r;
}

template <typename T> T *child(const QWidget &view, const QString &name)
{
    T *w = view.findChild<T *>(name);
    if (!w)
        qFatal("no %s", qPrintable(name));
    return w;
}

void terminate(TerminatedView &view, const circuit::Request &request, const QString &zs,
               const QString &zl)
{
    view.setNetwork(circuit::analyseLocked(core(), request), request.units, false);
    child<QLineEdit>(view, QStringLiteral("txtZs"))->setText(zs);
    child<QLineEdit>(view, QStringLiteral("txtZL"))->setText(zl);
}

const QString kOhm = QStringLiteral("kOhm");
} // namespace

class TestJoinViews : public QObject
{
    Q_OBJECT
private slots:
    // T of 1k, 2k, 3k: with ZL at port 2, Zin = R1 + R2‖(R3 + ZL); with Zs at port 1,
    // Zout = R3 + R2‖(R1 + Zs); the middle node takes V1·(R2‖(R3 + ZL))/Zin, and ZL its share.
    void quantities_data()
    {
        columns<QString, QString, UnitPowers, QString, double, QString>(
            "zs", "zl", "units", "quantity", "value", "unit");
        const UnitPowers ohm{}, kilo{0, -3, 3, -3};
        QTest::newRow("Zin") << "0"
                             << "1k" << ohm << "Zin" << 7000.0 / 3 << "Ohm";
        QTest::newRow("Zin in kOhm") << "0"
                                     << "1k" << kilo << "Zin" << 7.0 / 3 << kOhm;
        QTest::newRow("Zin, port 2 open") << "0"
                                          << "" << ohm << "Zin" << 3000.0 << "Ohm";
        QTest::newRow("Zout, ideal source") << "0"
                                            << "1k" << ohm << "Zout" << 11000.0 / 3 << "Ohm";
        QTest::newRow("Zout, Zs of 1k") << "1k"
                                        << "1k" << kilo << "Zout" << 4.0 << kOhm;
        QTest::newRow("Av") << "1k"
                            << "1k" << ohm << "Av" << 1.0 / 7 << "";
        QTest::newRow("Avs") << "1k"
                             << "1k" << ohm << "Avs" << 0.1 << "";
        QTest::newRow("Ai") << "0"
                            << "1k" << ohm << "Ai" << 1.0 / 3 << "";
        QTest::newRow("Vth") << "0"
                             << "1k" << ohm << "Vth" << 2.0 / 3 << "";
        QTest::newRow("P") << "0"
                           << "1k" << ohm << "P" << 1.0 / 49000 << "W/V²";
        QTest::newRow("P in mW") << "0"
                                 << "1k" << kilo << "P" << 1.0 / 49 << "mW/V²";
        QTest::newRow("ZL as a conductance") << "0"
                                             << "1mS" << ohm << "Ai" << 1.0 / 3 << "";
    }
    void quantities()
    {
        QFETCH(QString, zs);
        QFETCH(QString, zl);
        QFETCH(UnitPowers, units);
        QFETCH(QString, quantity);
        QFETCH(double, value);
        QFETCH(QString, unit);
        TerminatedView view;
        terminate(view, tee({{"R1", "1k"}, {"R2", "2k"}, {"R3", "3k"}}, units), zs, zl);
        QCOMPARE(child<QLineEdit>(view, quantity)->text(), writeNumber(value));
        QVERIFY(child<QLabel>(view, "lblUnit" + quantity)->text().startsWith(unit));
        QVERIFY(child<QWidget>(view, "lblMissing" + quantity)->isHidden());
        QVERIFY(child<QWidget>(view, "lblTerminatedError")->isHidden());
    }

    // Schematic 14 has R3 alone: port 1 is a short. Schematic 8 has nothing: port 1 is open.
    void missing_data()
    {
        columns<int, QString, QString, QString>("schematic", "zs", "quantity", "reason");
        QTest::newRow("Av, port 1 shorted") << 14 << "0"
                                            << "Av"
                                            << "No Av: with the load at port 2, port 1 is shorted";
        QTest::newRow("Avs, ideal source into a short") << 14 << "0"
                                                        << "Avs"
                                                        << "No Avs: the source's loop is a short";
        QTest::newRow("Zin, port 1 open")
            << 8 << "0"
            << "Zin"
            << "No Zin: with the load at port 2, no current can be driven";
    }
    void missing()
    {
        QFETCH(int, schematic);
        QFETCH(QString, zs);
        QFETCH(QString, quantity);
        QFETCH(QString, reason);
        TerminatedView view;
        terminate(view, ::schematic(schematic, schematic == 14 ? Values{{"R3", "3k"}} : Values{}),
                  zs, QStringLiteral("1k"));
        const auto *missing = child<QLabel>(view, "lblMissing" + quantity);
        QVERIFY2(missing->text().startsWith(reason), qPrintable(missing->text()));
        QVERIFY(!missing->isHidden());
        QVERIFY(child<QWidget>(view, quantity)->isHidden());
        QVERIFY(child<QWidget>(view, "your" + quantity)->isHidden());
    }

    void terminationError()
    {
        TerminatedView view;
        terminate(view, tee(), QStringLiteral("0"), QStringLiteral("1x"));
        const auto *error = child<QLabel>(view, QStringLiteral("lblTerminatedError"));
        QVERIFY(!error->isHidden());
        QVERIFY2(error->text().startsWith(QStringLiteral("load: ")), qPrintable(error->text()));
        QVERIFY(child<QWidget>(view, QStringLiteral("frameTerminated"))->isHidden());
        child<QLineEdit>(view, QStringLiteral("txtZL"))->setText(QStringLiteral("1k"));
        QVERIFY(error->isHidden());
        QCOMPARE(child<QLineEdit>(view, QStringLiteral("Zin"))->text(), writeNumber(7000.0 / 3));
    }

    // Zin = 7000/3 Ohm with ZL = 1k; with no values, R1 + R2‖(R3 + RL) as a formula.
    void yours_data()
    {
        columns<bool, QString, QString, QString>("symbolic", "quantity", "typed", "verdict");
        QTest::newRow("exact") << false << "Zin"
                               << "7000/3"
                               << "✓";
        QTest::newRow("sign lost") << false << "Zin"
                                   << "-7000/3"
                                   << "✗ sign lost";
        QTest::newRow("in kOhm") << false << "Zin"
                                 << "7/3"
                                 << "✗ off by a factor";
        QTest::newRow("Av upside down") << false << "Av"
                                        << "7"
                                        << "✗ upside down";
        QTest::newRow("formula") << true << "Zin"
                                 << "R1 + R2*(R3 + RL)/(R2 + R3 + RL)"
                                 << "✓";
        QTest::newRow("formula, R2 left out") << true << "Zin"
                                              << "R1 + R3 + RL"
                                              << "✗";
    }
    void yours()
    {
        QFETCH(bool, symbolic);
        QFETCH(QString, quantity);
        QFETCH(QString, typed);
        QFETCH(QString, verdict);
        TerminatedView view;
        terminate(view, symbolic ? tee({}) : tee(), QStringLiteral("0"),
                  symbolic ? QStringLiteral("RL") : QStringLiteral("1k"));
        child<QLineEdit>(view, "your" + quantity)->setText(typed);
        const QString shown = child<QLabel>(view, "lblVerdict" + quantity)->text();
        QVERIFY2(shown.startsWith(verdict), qPrintable(shown));
        if (symbolic)
            QVERIFY(!child<QLabel>(view, "lblFormula" + quantity)->text().isEmpty());
        // The same network again keeps the value and its verdict; a new one clears both.
        view.setNetwork(circuit::analyseLocked(core(), symbolic ? tee({}) : tee()), {}, true);
        QCOMPARE(child<QLabel>(view, "lblVerdict" + quantity)->text(), shown);
        view.setNetwork(circuit::analyseLocked(core(), tee()), {}, false);
        QVERIFY(child<QLineEdit>(view, "your" + quantity)->text().isEmpty());
    }

    void copiesTheValues()
    {
        TerminatedView view;
        terminate(view, tee({{"R1", "1k"}, {"R2", "2k"}, {"R3", "3k"}}, {0, -3, 3, -3}),
                  QStringLiteral("0"), QStringLiteral("1k"));
        const QString text = view.copy(CopyFlavour::Text);
        QVERIFY2(text.contains(QStringLiteral("Zout = ") + writeNumber(11.0 / 3) +
                               QStringLiteral(" kOhm")),
                 qPrintable(text));
        const QString latex = view.copy(CopyFlavour::Latex);
        QVERIFY2(latex.contains(QStringLiteral("Z_{\\mathrm{out}} = ")), qPrintable(latex));
        QVERIFY2(latex.contains(QStringLiteral("\\mathrm{mW/V^2}")), qPrintable(latex));
    }

    // ABCD of the T: A = 1 + R1/R2, B = R1 + R3 + R1·R3/R2, C = 1/R2, D = 1 + R3/R2, squared by
    // hand for the cascade. In series the second T's R1 and R3 lie across the first's common
    // line, so the Z matrices do not add; turned over, its common line meets the first's.
    void joins_data()
    {
        columns<int, QString, QString, QString, QString, bool>("kind", "with", "set", "rule",
                                                               "built", "holds");
        const QString sum = QStringLiteral("6000 Ohm, 4000 Ohm; 4000 Ohm, 10000 Ohm");
        const QString square = QStringLiteral("5, 22000 Ohm; 1/500 S, 9");
        QTest::newRow("series with itself")
            << 1 << "itself"
            << "Z" << sum << "5750 Ohm, 4750 Ohm; 4750 Ohm, 7750 Ohm" << false;
        QTest::newRow("series with itself turned over") << 1 << "itself turned over"
                                                        << "Z" << sum << sum << true;
        QTest::newRow("series with schematic 11")
            << 1 << "schematic 11: T of R1, R2, R3"
            << "Z" << sum << "5750 Ohm, 4750 Ohm; 4750 Ohm, 7750 Ohm" << false;
        // Two networks on a common line in parallel always keep their port currents: the Π of
        // 1, 2 and 3 mS has Y = [3 -2; -2 5] mS, the T has Y = [5 -2; -2 3]/11 mS.
        const QString ySum = QStringLiteral("19/5500 S, -3/1375 S; -3/1375 S, 29/5500 S");
        QTest::newRow("parallel with schematic 3") << 2 << "schematic 3: Π of G1, G2, G3"
                                                   << "Y" << ySum << ySum << true;
        QTest::newRow("cascade with itself") << 0 << "itself"
                                             << "ABCD" << square << square << true;
        QTest::newRow("cascade with itself turned over") << 0 << "itself turned over"
                                                         << "ABCD" << square << square << true;
    }
    void joins()
    {
        QFETCH(int, kind);
        QFETCH(QString, with);
        QFETCH(QString, set);
        QFETCH(QString, rule);
        QFETCH(QString, built);
        QFETCH(bool, holds);
        JoinView view;
        view.setNetwork(tee());
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(kind);
        auto *other = child<QComboBox>(view, QStringLiteral("cmbJoinWith"));
        const int choice = other->findText(with, Qt::MatchStartsWith);
        QVERIFY(choice >= 0);
        other->setCurrentIndex(choice);
        QCOMPARE(child<QLabel>(view, "lblRule" + set)->accessibleName(),
                 set + QStringLiteral(" by the rule: ") + rule);
        QCOMPARE(child<QLabel>(view, "lblBuilt" + set)->accessibleName(),
                 set + QStringLiteral(" as built: ") + built);
        const QString verdict = child<QLabel>(view, QStringLiteral("lblRuleHolds"))->text();
        QVERIFY2(verdict.startsWith(holds ? QStringLiteral("✓") : QStringLiteral("✗")),
                 qPrintable(verdict));
        QCOMPARE(child<QLabel>(view, QStringLiteral("lblWhy"))
                     ->text()
                     .contains(QStringLiteral("Brune's test fails")),
                 !holds);
    }

    void copiesBothResults()
    {
        JoinView view;
        view.setNetwork(tee());
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
        const QString text = view.copy(CopyFlavour::Text);
        for (const QString &part : {QStringLiteral("Z by the rule (Ohm):\n  z11 = 6000"),
                                    QStringLiteral("Z as built (Ohm):\n  z11 = 5750"),
                                    QStringLiteral("✗ The rule does not hold")})
            QVERIFY2(text.contains(part), qPrintable(text));
        QVERIFY(view.copy(CopyFlavour::Latex).contains(QStringLiteral("\\begin{bmatrix}")));
    }

    // The other schematic's values as typed: a T of 2k, 2k, 2k in series with the first.
    void typedValuesOfTheOther()
    {
        JoinView view;
        view.setNetwork(tee());
        auto *other = child<QComboBox>(view, QStringLiteral("cmbJoinWith"));
        other->setCurrentIndex(other->findText(QStringLiteral("schematic 11: T of R1, R2, R3")));
        QCOMPARE(child<QLabel>(view, QStringLiteral("lblJoinValue2"))->text(),
                 QStringLiteral("R2:"));
        for (const char *name : {"txtJoinValue1", "txtJoinValue2", "txtJoinValue3"}) {
            auto *box = child<QLineEdit>(view, QLatin1String(name));
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("2k"));
        }
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
        // z11 = 1k + 2k + 2k + 2k, z22 = 3k + 2k + 2k + 2k.
        QVERIFY(child<QLabel>(view, QStringLiteral("lblRuleZ"))
                    ->accessibleName()
                    .endsWith(QStringLiteral(": 7000 Ohm, 4000 Ohm; 4000 Ohm, 9000 Ohm")));
    }

    // A netlist of the student's with four symbols: a box for each, in the tab order, and the
    // join is numeric once all four are typed. The bridged T of 1k each has z11 = 5000/3.
    void everySymbolOfTheOtherHasABox()
    {
        JoinView view;
        view.setNetwork(tee());
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
        view.joinWithNetlist(QStringLiteral("P1 1 0\nP2 3 0\nRa 1 2\nRb 2 0\nRc 2 3\nRd 1 3\n"),
                             QStringLiteral("bridged.cir"));
        QCOMPARE(child<QLabel>(view, QStringLiteral("lblJoinValue4"))->text(),
                 QStringLiteral("Rd:"));
        QWidget *previous = child<QComboBox>(view, QStringLiteral("cmbJoinWith"));
        for (const char *name :
             {"txtJoinValue1", "txtJoinValue2", "txtJoinValue3", "txtJoinValue4"}) {
            auto *box = child<QLineEdit>(view, QLatin1String(name));
            QCOMPARE(previous->nextInFocusChain(), box);
            QTest::keyClicks(box, QStringLiteral("1k"));
            previous = box;
        }
        QVERIFY(
            child<QLabel>(view, QStringLiteral("lblRuleZ"))
                ->accessibleName()
                .endsWith(QStringLiteral(": 14000/3 Ohm, 10000/3 Ohm; 10000/3 Ohm, 20000/3 Ohm")));
    }

    // The network built keeps the symbols of both, one symbol where both mean the same.
    void joinedNetworkOpens()
    {
        JoinView view;
        view.setNetwork(tee());
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
        QSignalSpy opened(&view, &JoinView::openNetlist);
        child<QPushButton>(view, QStringLiteral("btnOpenJoined"))->click();
        QCOMPARE(opened.size(), 1);
        circuit::Request built = tee();
        built.netlist = opened[0][0].toString();
        const auto analysis = circuit::analyseLocked(core(), built);
        const circuit::SetReport &z = analysis->report().sets[size_t(ParameterSet::Z)];
        QCOMPARE(z.entries[0].exact, QStringLiteral("5750"));
        QCOMPARE(z.entries[3].exact, QStringLiteral("7750"));
    }

    void netlistOfTheStudent_data()
    {
        columns<QString, QString>("netlist", "shown");
        QTest::newRow("the T turned over") << "P1 0 1\nP2 0 3\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n"
                                           << "✓";
        QTest::newRow("unreadable") << "P1 1 0\nX1 1 0\n"
                                    << "unknown element 'X1'";
    }
    void netlistOfTheStudent()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, shown);
        JoinView view;
        view.setNetwork(tee());
        child<QComboBox>(view, QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
        // Closes a file dialog should one come up, and counts it: nothing here should ask.
        int asked = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&asked] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                ++asked;
                dialog->close();
            }
        });
        closer.start(10);
        view.joinWithNetlist(netlist, QStringLiteral("mine.cir"));
        auto *with = child<QComboBox>(view, QStringLiteral("cmbJoinWith"));
        QCOMPARE(with->currentText(), QStringLiteral("mine.cir"));
        // The file read is chosen again without a file dialog, and another can still be asked for.
        QVERIFY(with->findText(QStringLiteral("a netlist file…")) >= 0);
        with->setCurrentIndex(0);
        with->setCurrentIndex(with->findText(QStringLiteral("mine.cir")));
        QTest::qWait(20);
        QCOMPARE(asked, 0);
        const auto *error = child<QLabel>(view, QStringLiteral("lblJoinError"));
        const auto *holds = child<QLabel>(view, QStringLiteral("lblRuleHolds"));
        const QString text = error->isHidden() ? holds->text() : error->text();
        QVERIFY2(text.contains(shown), qPrintable(text));
        QCOMPARE(child<QPushButton>(view, QStringLiteral("btnOpenJoined"))->isEnabled(),
                 error->isHidden());
    }
};

KVADRA_TEST_MAIN(TestJoinViews)

#include "tst_joinviews.moc"
