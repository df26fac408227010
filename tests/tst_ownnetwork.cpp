// The own-network window driven as a student drives it: netlists typed and drawn by keyboard,
// values and formulas read back against hand-worked results, files saved and opened, every
// starting point solved, and half-made networks met with notes instead of boxes.
#include "circuit/loader.h"
#include "exercise/networkview.h"
#include "exercise/ownnetwork.h"
#include "support/session.h"

#include <QAccessible>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvadra;

namespace
{
const QString own = QStringLiteral("own_network");
const QString tee = QStringLiteral("P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0 2k\nR3 2 3 3k\n");

// Port 1, R1, R2 upright, R3 and port 2, then the wires of a T: along the top from port 1 to R1,
// R1 to R2's top, R2's top to R3, R3 to port 2, and the bottom line in two pieces.
const QString teeByKeyboard = QStringLiteral(
    "1 Esc Right*4 Up*2 r Esc Right*4 Down*2 r Ctrl+R Esc Right*4 Up*2 r Esc Right*4 Down*2 2 Esc "
    "Left*16 Up*2 w Right*2 w Right*4 w Right*2 w w Right*2 w Right*4 w Right*2 w Down*4 Left*16 "
    "w Right*8 w w Right*8 w");
} // namespace

class TestOwnNetwork : public SessionTest
{
    Q_OBJECT

    QString netlist() { return m_s->control<QPlainTextEdit>(own, "txtNetlist")->toPlainText(); }
    QString label(const QString &name) { return m_s->control<QLabel>(own, name)->text(); }
    bool shown(const QString &name) { return m_s->control<QWidget>(own, name)->isVisible(); }
    OwnNetwork *window() { return qobject_cast<OwnNetwork *>(m_s->window(own)); }

private slots:
    // Values worked by hand in kOhm and mS, the default display units.
    void typedNetlist_data()
    {
        columns<QString, QString, QString, QString>("netlist", "entry", "value", "formula");
        QTest::newRow("T z11") << tee << "z11"
                               << "3"
                               << "= R1 + R2";
        QTest::newRow("T z21") << tee << "z21"
                               << "2"
                               << "= R2";
        QTest::newRow("T y22") << tee << "y22"
                               << "0.272727272727273"
                               << "= (R1 + R2)/(R1*R2 + R1*R3 + R2*R3)";
        QTest::newRow("T B") << tee << "B"
                             << "5.5"
                             << "= (R1*R2 + R1*R3 + R2*R3)/R2";
        QTest::newRow("conductances, spelt oddly")
            << "* 2 mS in series\nP1 a 0\nP2 b 0\nrx A b 2 mS ; kept\n"
            << "y11"
            << "2"
            << "= rx";
        QTest::newRow("gain as a symbol") << "P1 1 0\nP2 2 0\nR1 1 0 1k\nE1 2 0 1 0 mu\n"
                                          << "g21"
                                          << ""
                                          << "= mu";
    }
    void typedNetlist()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, entry);
        m_s->ownNetwork(netlist);
        QCOMPARE(this->netlist(), netlist);
        QTEST(m_s->text(own, entry), "value");
        QTEST(label("lblFormula" + entry), "formula");
        QCOMPARE(shown("lblNetlistError"), false);
        // Both views are of one network: each element line is drawn.
        const auto *view = m_s->control<NetworkView>(own, "viewDrawing");
        QCOMPARE(view->drawing().elements.size(),
                 qsizetype(netlist.count(
                     QRegularExpression("^[PRrEGFHV]\\w* ", QRegularExpression::MultilineOption))));
    }

    // The student's own value or formula, judged as the check window judges it.
    void ownValues_data()
    {
        columns<QString, QString, QString>("entry", "typed", "mark");
        QTest::newRow("value to its digits") << "z11"
                                             << "3"
                                             << "✓";
        QTest::newRow("fraction") << "y11"
                                  << "5/11"
                                  << "✓";
        QTest::newRow("formula in another form") << "y12"
                                                 << "R2/(-R1*R2-R1*R3-R2*R3)"
                                                 << "✓";
        QTest::newRow("wrong sign") << "h21"
                                    << "0.4"
                                    << "✗";
        QTest::newRow("wrong formula") << "z22"
                                       << "R2+R1"
                                       << "✗";
    }
    void ownValues()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, mark);
        m_s->ownNetwork(tee);
        m_s->type(own, "your" + entry, typed);
        QVERIFY2(label("lblVerdict" + entry).startsWith(mark),
                 qPrintable(label("lblVerdict" + entry)));
        // A value the student typed stays while the network is edited, and is judged afresh.
        auto *text = m_s->control<QPlainTextEdit>(own, "txtNetlist");
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "* edited");
        QTest::keyClick(text, Qt::Key_Return);
        m_s->awaitFormulas();
        QCOMPARE(m_s->text(own, "your" + entry), typed);
        QVERIFY(label("lblVerdict" + entry).startsWith(mark));
    }

    // Places on the grid: the toolbar's tool, then a click there.
    void clickOnGrid(const char *tool, QPoint at)
    {
        if (tool)
            m_s->window(own)->findChild<QAction *>(tool)->trigger();
        auto *view = m_s->control<NetworkView>(own, "viewDrawing");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->mapFromScene(QPointF(at * NetworkView::grid)));
        m_s->settle();
    }

    void teeDrawnAndUndoneAll_data()
    {
        columns<bool>("byMouse");
        QTest::newRow("keyboard") << false;
        QTest::newRow("mouse") << true;
    }
    void teeDrawnAndUndoneAll()
    {
        QFETCH(bool, byMouse);
        m_s->click("twoport_main", "btnExercise");
        m_s->click("exercise_main", "cmdOwnNetwork");
        if (!byMouse) {
            m_s->keys(own, "viewDrawing", teeByKeyboard);
        } else {
            // The same T as by keyboard: elements, R2 turned upright, then the six wires.
            clickOnGrid("tool1", {0, 0});
            clickOnGrid("toolR", {4, -2});
            clickOnGrid("toolR", {8, 0});
            m_s->keys(own, "viewDrawing", "Ctrl+R");
            clickOnGrid("toolR", {12, -2});
            clickOnGrid("tool2", {16, 0});
            m_s->window(own)->findChild<QAction *>("toolW")->trigger();
            for (const auto &[from, to] : {std::pair{QPoint(0, -2), QPoint(2, -2)},
                                           {QPoint(6, -2), QPoint(8, -2)},
                                           {QPoint(8, -2), QPoint(10, -2)},
                                           {QPoint(14, -2), QPoint(16, -2)},
                                           {QPoint(0, 2), QPoint(8, 2)},
                                           {QPoint(8, 2), QPoint(16, 2)}}) {
                clickOnGrid(nullptr, from);
                clickOnGrid(nullptr, to);
            }
        }
        m_s->awaitFormulas();
        QCOMPARE(QStringList({label("lblFormulaz11"), label("lblFormulaz12"),
                              label("lblFormulaz21"), label("lblFormulaz22")}),
                 QStringList({"= R1 + R2", "= R2", "= R2", "= R2 + R3"}));
        const QString drawn = netlist();
        for (int step = 0; step < 40 && !netlist().isEmpty(); ++step)
            m_s->keys(own, "viewDrawing", "Ctrl+Z");
        QCOMPARE(netlist(), QString());
        QCOMPARE(m_s->control<NetworkView>(own, "viewDrawing")->drawing().elements.size(), 0);
        for (int step = 0; step < 40 && netlist() != drawn; ++step)
            m_s->window(own)->findChild<QAction *>("actRedo")->trigger();
        QCOMPARE(netlist(), drawn);
    }

    // A moved element keeps the line the student typed, comment and spelling included.
    void drawingKeepsTyping()
    {
        m_s->ownNetwork("P1 1 0\nP2 3 0\nr1 1 2 2k2 ; the top\nR2 2 0\nR3 2 3\n");
        auto *view = m_s->control<NetworkView>(own, "viewDrawing");
        view->selectNames({"r1"});
        m_s->keys(own, "viewDrawing", "Up Up Ctrl+R");
        m_s->awaitFormulas();
        QVERIFY2(netlist().contains("r1 1 2 2k2 ; the top\n"), qPrintable(netlist()));
        QCOMPARE(m_s->text(own, "z11"), QString());
        QCOMPARE(label("lblFormulaz11"), "= r1 + R2");
    }

    // A screen reader finds every drawn element with its name, kind, value and nodes.
    void accessibleElements()
    {
        m_s->ownNetwork(tee);
        auto *view = m_s->control<NetworkView>(own, "viewDrawing");
        QAccessibleInterface *drawing = QAccessible::queryAccessibleInterface(view);
        QVERIFY(drawing);
        QMap<QString, QString> described;
        for (int i = 0; i < drawing->childCount(); ++i) {
            QAccessibleInterface *child = drawing->child(i);
            if (child->role() != QAccessible::Graphic)
                continue;
            described[child->text(QAccessible::Name)] = child->text(QAccessible::Description);
            QVERIFY(!child->rect().isEmpty());
            QCOMPARE(drawing->indexOfChild(child), i);
        }
        QCOMPARE(described.keys(), QStringList({"P1", "P2", "R1", "R2", "R3"}));
        QCOMPARE(described["R2"], "resistor, 2k, between node 2 and node 0");
    }

    void saveOpenAndCommandLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("tee.cir");
        m_s->ownNetwork(tee + "* my own\n");
        QVERIFY(window()->saveTo(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(saved.readAll());
        QVERIFY(written.startsWith(tee + "* my own\n"));
        QVERIFY(window()->exportPng(dir.filePath("tee.png")));
        const QImage png(dir.filePath("tee.png"));
        QVERIFY(png.width() > 100 && png.height() > 50);
        QVERIFY(window()->exportSvg(dir.filePath("tee.svg")));
        QFile svg(dir.filePath("tee.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));

        m_s->ownNetwork("P1 1 0\nP2 1 0\nR9 1 0\n");
        QVERIFY(window()->openFile(path));
        m_s->awaitFormulas();
        QCOMPARE(netlist(), written);
        QCOMPARE(m_s->text(own, "z11"), "3");

        // Bytes that are not text: the box names the place, and the window stays as it was.
        const QString bad = dir.filePath("bad.cir");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("P1 1 0\nR1 1 \xff\n");
        f.close();
        QVERIFY(!window()->openFile(bad));
        const QList<MessageBoxAnswerer::Box> boxes = m_s->boxes().takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].text.contains("line 2, column 6"), qPrintable(boxes[0].text));
        QCOMPARE(netlist(), written);

        // `kvadra FILE.cir`, as the file manager starts it.
        m_s.reset();
        m_s = std::make_unique<Session>();
        m_s->main().openOwnNetwork(path);
        m_s->awaitFormulas();
        QVERIFY(m_s->isOpen("exercise_main"));
        QCOMPARE(netlist(), written);
        QCOMPARE(m_s->text(own, "z22"), "5");
        // The own network closes with the exercise solver, and the units come free.
        m_s->close("exercise_main");
        QVERIFY(!m_s->isOpen(own));
        QCOMPARE(m_s->state().windowStates(), qint16(0));
    }

    void startingPoints_data()
    {
        columns<QString>("title");
        for (int n = 1; n <= 14; ++n)
            QTest::newRow(qPrintable(QString::number(n))) << QString();
        for (const char *t : {"Bridged T", "Lattice", "Ladder", "Transistor h-model"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    // Each starting point solved in the window as the core solves its netlist.
    void startingPoints()
    {
        QFETCH(QString, title);
        m_s->ownNetwork(QString());
        auto *menu = m_s->window(own)->findChild<QMenu *>("menuStart");
        QVERIFY(menu);
        const QList<QAction *> points = menu->actions();
        QCOMPARE(points.size(), 18);
        const int index =
            title.isEmpty()
                ? QString(QTest::currentDataTag()).toInt() - 1
                : int(points.size()) - 4 +
                      QStringList({"Bridged T", "Lattice", "Ladder", "Transistor h-model"})
                          .indexOf(title);
        points[index]->trigger();
        m_s->awaitFormulas();
        QCOMPARE(shown("lblNetlistError"), false);
        circuit::Request request;
        request.netlist = netlist();
        const circuit::AnalysisPtr core =
            circuit::analyseLocked(*circuit::circuitEngine(), request);
        QVERIFY(core);
        for (ParameterSet set : allParameterSets) {
            const circuit::SetReport &s = core->report().sets[size_t(set)];
            const bool exists = s.state == circuit::SetState::Exists;
            QCOMPARE(shown("lblMissing" + setName(set)), !exists);
            // Whole to a screen reader, however long; cut on screen.
            for (int i = 0; exists && i < 4; ++i)
                QCOMPARE(
                    m_s->control("own_network", "lblFormula" + entryName(set, i))->accessibleName(),
                    entryName(set, i) + " = " + s.entries[size_t(i)].formula);
        }
    }

    void halfMade_data()
    {
        columns<QString, QString, int>("netlist", "note", "line");
        QTest::newRow("dangling element") << "P1 1 0\nP2 2 0\nR1 1 2\nR2 2 3\n"
                                          << "connects to nothing else" << 4;
        QTest::newRow("no port 2") << "P1 1 0\nR1 1 0\n"
                                   << "Port 2" << 0;
        QTest::newRow("unknown element") << "P1 1 0\nP2 1 0\nQ1 1 0\n"
                                         << "line 3" << 3;
        QTest::newRow("sensor never named") << "P1 1 0\nP2 2 0\nR1 1 2\nF1 2 0 Vx\n"
                                            << "Vx" << 4;
        QTest::newRow("element without nodes") << "P1 1 0\nP2 1 0\nR1\n"
                                               << "line 3" << 3;
    }
    void halfMade()
    {
        QFETCH(QString, netlist);
        QFETCH(QString, note);
        QFETCH(int, line);
        m_s->ownNetwork(netlist);
        QVERIFY(m_s->boxes().takeBoxes().isEmpty());
        QVERIFY2(label("lblNotes").contains(note), qPrintable(label("lblNotes")));
        QCOMPARE(shown("frameZ"), false);
        if (line > 0)
            QVERIFY2(label("lblNetlistError").contains(QStringLiteral("line %1").arg(line)),
                     qPrintable(label("lblNetlistError")));
        // Finishing the network brings every set back.
        m_s->ownNetwork(tee);
        QCOMPARE(shown("frameZ"), true);
        QCOMPARE(m_s->text(own, "z11"), "3");
    }
};

QTEST_MAIN(TestOwnNetwork)
#include "tst_ownnetwork.moc"
