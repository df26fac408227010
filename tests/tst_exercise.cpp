#include "support/session.h"
#include "twoport/numbertext.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

using namespace kvadra;

namespace
{
const QStringList zBoxes{"z11", "z12", "z21", "z22"};
const QStringList yBoxes{"y11", "y12", "y21", "y22"};
const QString calc = QStringLiteral("exercise_calc");

// "… = 0.5 kOhm" gives "0.5".
QString lastNumber(const QString &tip)
{
    return tip.section(" = ", -1).section(' ', 0, 0);
}
} // namespace

class TestExercise : public SessionTest
{
    Q_OBJECT
private slots:
    // One row for each kind of catalogue entry: both matrices by either family, Y or Z alone,
    // and an inversion with a missing element.
    void calculates_data()
    {
        // values: an absent element's box is skipped; z, y: none where the matrix is missing;
        // captions: frmInput, frmZ and frmY; options: unit options clicked first.
        columns<QString, QStringList, QStringList, QStringList, QStringList, QStringList, QString>(
            "schematic", "values", "z", "y", "captions", "options", "locale");
        auto row = [](const char *what, const char *schematic, const QStringList &values,
                      const QStringList &z, const QStringList &y, const QStringList &captions,
                      const QStringList &options = {}, const char *locale = "C") {
            QTest::newRow(what) << QString(schematic) << values << z << y << captions << options
                                << QString(locale);
        };
        const QStringList none, zeros{"0", "0", "0", "0"};
        const QStringList kOhm{"Resistor values (kOhm)", "Z parameters (kOhm)",
                               "Y parameters (mS)"};
        const QStringList mS{"Conductivity values (mS)", "Z parameters (kOhm)",
                             "Y parameters (mS)"};
        // mOhm in, S out: the powers no longer cancel as kOhm and mS do.
        row("T network in mOhm and S", "R1R2R3", {"1", "2", "3"}, {"3", "2", "2", "5"},
            {"454.545454545455", "-181.818181818182", "-181.818181818182", "272.727272727273"},
            {"Resistor values (mOhm)", "Z parameters (mOhm)", "Y parameters (S)"},
            {"optR1", "optS2"});
        row("Pi network in the default units", "G1G2G3", {"1", "2", "3"},
            {"0.454545454545455", "0.181818181818182", "0.181818181818182", "0.272727272727273"},
            {"3", "-2", "-2", "5"}, mS);
        row("no elements: Y alone, all zero", "NONE", none, none, zeros, mS);
        row("series R1 alone: Z alone, a comma read as the point", "R1", {"1,5"},
            {"1.5", "0", "0", "0"}, none, kOhm);
        row("R1, R3: inversion without the middle element", "R1R3", {"2", "0", "4"},
            {"2", "0", "0", "4"}, {"0.5", "0", "0", "0.25"}, kOhm);
        row("G2 alone in mOhm and S", "G2", {"0", "2", "0"}, none, {"2", "-2", "-2", "2"},
            {"Conductivity values (S)", "Z parameters (mOhm)", "Y parameters (S)"},
            {"optR1", "optS2"});
        row("G2, G3 with German commas", "G2G3", {"0", "0,5", "1,25"}, {"2,8", "0,8", "0,8", "0,8"},
            {"0,5", "-0,5", "-0,5", "1,75"},
            {"Conductivity values (S)", "Z parameters (Ohm)", "Y parameters (S)"},
            {"optR2", "optS2"}, "de_DE");
    }
    void calculates()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, options);
        QFETCH(QString, locale);
        QFETCH(QStringList, values);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, z);
        QFETCH(QStringList, y);
        m_s->chooseUnits(options);
        QLocale::setDefault(QLocale(locale));
        // After another calculation the calculator is set up afresh, with nothing to copy or check.
        m_s->exercise("R1R2R3", {"7", "8", "9"});
        m_s->click("exercise_main", schematic.toLower());
        for (QAction *action : m_s->window(calc)->findChildren<QAction *>())
            QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
        QVERIFY(!m_s->control(calc, "cmdCheck")->isEnabled());
        QStringList titles;
        for (const char *frame : {"frmInput", "frmZ", "frmY"})
            titles << m_s->control<QGroupBox>(calc, frame)->title();
        QCOMPARE(titles, captions);
        const QString element = captions[0].startsWith("Resistor") ? "R" : "G";
        // The values' own frame is bold, not the one around it.
        QVERIFY(!m_s->control(calc, "frmInputAll")->font().bold());
        QVERIFY(m_s->control(calc, "frmInput")->font().bold());
        for (int k = 1; k <= 3; ++k) {
            // Only the boxes of the elements the schematic has are open.
            const bool open = schematic.contains(QString::number(k));
            auto *box = m_s->control<QLineEdit>(calc, QStringLiteral("val%1").arg(k));
            auto *label = m_s->control<QLabel>(calc, QStringLiteral("in%1").arg(k));
            QCOMPARE(box->isEnabled(), open);
            QCOMPARE(box->text(), open ? QString() : QStringLiteral("0"));
            QCOMPARE(label->text(), element + QString::number(k));
            QCOMPARE(label->palette().color(QPalette::WindowText) == Qt::black, open);
        }
        m_s->fill(values);
        m_s->calculate();
        QCOMPARE(m_s->messages(), QStringList());
        QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
        const QString copied = m_s->copy(calc);
        QVERIFY2(copied.startsWith("Schematic " + schematic), qPrintable(copied));
        for (const auto &[frame, boxes, shown, caption] :
             {std::tuple{"frmZ", zBoxes, z, captions[1]},
              std::tuple{"frmY", yBoxes, y, captions[2]}}) {
            auto *f = m_s->control<QGroupBox>(calc, frame);
            QCOMPARE(f->isEnabled(), !shown.isEmpty());
            QCOMPARE(m_s->texts(calc, boxes), shown.isEmpty() ? QStringList(4, QString()) : shown);
            // A missing matrix says why, in its frame's tooltip and in the copy.
            QCOMPARE(f->toolTip().isEmpty(), f->isEnabled());
            QCOMPARE(copied.contains(caption + ": does not exist"), shown.isEmpty());
            for (const QString &name : boxes) {
                auto *box = m_s->control<QLineEdit>(calc, name);
                const QString tip = box->toolTip();
                QCOMPARE(tip.isEmpty(), shown.isEmpty());
                if (shown.isEmpty())
                    continue;
                QCOMPARE(lastNumber(tip), box->text());
                QCOMPARE(box->accessibleDescription(), tip);
                QVERIFY2(copied.contains(name + " = " + box->text()), qPrintable(copied));
                // Every typed value appears, with its unit, where its element does.
                for (int k = 0; k < values.size(); ++k)
                    if (tip.section('\n', -1)
                            .section(" = ", 1, 1)
                            .contains(element + QString::number(k + 1)))
                        QVERIFY2(tip.contains(writeNumber(readNumber(values[k])) + ' '),
                                 qPrintable(tip));
            }
        }
    }

    // In the resistance family the inversion is the Y procedure, which runs first.
    void failureKeepsWhatItMust_data()
    {
        // values: typed after a good calculation of 1 and 2; copied: what the copy holds, each
        // matrix with the values it was computed from.
        columns<QString, QStringList, bool, QStringList>("schematic", "values", "newY", "copied");
        QTest::newRow("Pi: the direct Y is shown, the inversion for Z fails")
            << "G1G2" << QStringList{"0", "5"} << true
            << QStringList{"Z parameters (kOhm), from G1 = 1 mS, G2 = 2 mS:\n",
                           "Y parameters (mS), from G1 = 0 mS, G2 = 5 mS:\n"};
        QTest::newRow("T: the inversion for Y fails first")
            << "R1R2" << QStringList{"3", "0"} << false
            << QStringList{"\nR1 = 1 kOhm, R2 = 2 kOhm\n"};
        QTest::newRow("unreadable value")
            << "G1G2" << QStringList{"1", "x"} << false << QStringList{"\nG1 = 1 mS, G2 = 2 mS\n"};
    }
    void failureKeepsWhatItMust()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QFETCH(bool, newY);
        QFETCH(QStringList, copied);
        m_s->exercise(schematic, {"1", "2"});
        const QStringList z = m_s->texts(calc, zBoxes), y = m_s->texts(calc, yBoxes);
        const double pz11 = m_s->state().pz11(), py11 = m_s->state().py11();
        m_s->fill(values);
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->calculate();
        QCOMPARE(m_s->boxes().takeBoxes(), QList{box(inputError[0], QMessageBox::Warning)});
        QCOMPARE(m_s->texts(calc, zBoxes), z);
        QCOMPARE(m_s->state().pz11(), pz11);
        QCOMPARE(m_s->texts(calc, yBoxes), (newY ? QStringList{"5", "-5", "-5", "5"} : y));
        QCOMPARE(m_s->state().py11(), newY ? 5.0 : py11);
        QVERIFY(m_s->control(calc, "frmZ")->isEnabled());
        // The working shown is that of the numbers shown, old or new.
        for (const QString &name : zBoxes + yBoxes)
            QCOMPARE(lastNumber(m_s->control(calc, name)->toolTip()), m_s->text(calc, name));
        if (newY) {
            // Typed in mS, worked in S, from the very numbers the result came from.
            QVERIFY(m_s->control(calc, "y11")
                        ->toolTip()
                        .contains("y11 = G1 + G2 = 0 S + 0.005 S = 0.005 S = 5 mS"));
            QVERIFY(m_s->control(calc, "z11")->toolTip().contains("Δ = G3·G1 + G1·G2 + G3·G2"));
        }
        const QString copy = m_s->copy(calc);
        for (const QString &part : copied)
            QVERIFY2(copy.contains(part), qPrintable(copy));
    }

    void focusSelectsAll()
    {
        m_s->exercise("R1R2R3", {"12.5", "7", "3"});
        auto *val1 = m_s->control<QLineEdit>(calc, "val1");
        auto *val2 = m_s->control<QLineEdit>(calc, "val2");
        // By mouse, clicking into the middle of the text.
        val2->setFocus();
        QTest::mouseClick(val1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 9));
        QTRY_COMPARE(val1->selectedText(), QStringLiteral("12.5"));
        // By keyboard.
        QTest::keyClick(val1, Qt::Key_Tab);
        QTRY_VERIFY(val2->hasFocus());
        QTRY_COMPARE(val2->selectedText(), QStringLiteral("7"));
    }

    // The units stay locked, and the exercise goes on, until the last tool window has gone.
    void flowEndsWithTheLastToolWindow()
    {
        m_s->exercise("R1", {"1"});
        m_s->close("exercise_main");
        QVERIFY(!m_s->control("twoport_main", "frameRes")->isEnabled());
        QCOMPARE(m_s->state().currentMode(), qint16(1));
        m_s->close(calc);
        QVERIFY(m_s->control("twoport_main", "frameRes")->isEnabled());
        QCOMPARE(m_s->state().currentMode(), qint16(0));
    }
};

KVADRA_TEST_MAIN(TestExercise)

#include "tst_exercise.moc"
