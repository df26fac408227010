#include "support/session.h"
#include "twoport/numbertext.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <memory>

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

class TestExercise : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    // Schematic, locale and unit options, values typed (0 for an absent element), the captions
    // of frmInput, frmZ and frmY (none: not checked), then Z and Y shown (none: the matrix does
    // not exist). One row for each kind of catalogue entry: both matrices by either family, Y or
    // Z alone, and an inversion with a missing element.
    void calculates_data()
    {
        addRows({"R1R2R3|optR2 optS2|1 2 3|Resistor values (Ohm), Z parameters (Ohm), Y parameters "
                 "(S)|3 2 2 5|0.454545454545455 -0.181818181818182 -0.181818181818182 "
                 "0.272727272727273",
                 "G1G2G3||1 2 3|Conductivity values (mS), Z parameters (kOhm), Y parameters (mS)|"
                 "0.454545454545455 0.181818181818182 0.181818181818182 0.272727272727273|"
                 "3 -2 -2 5",
                 "NONE|||||0 0 0 0",
                 "R1||1,5|Resistor values (kOhm), Z parameters (kOhm), Y "
                 "parameters (mS)|1.5 0 0 0|",
                 "R1R3||2 0 4||2 0 0 4|0.5 0 0 0.25",
                 "G2|optR1 optS2|0 2 0|Conductivity values (S), Z parameters (mOhm), Y "
                 "parameters (S)||2 -2 -2 2",
                 "G2G3|de_DE optR2 optS2|0 0,5 1,25||2,8 0,8 0,8 0,8|0,5 -0,5 -0,5 1,75"});
    }
    void calculates()
    {
        const QStringList row = fields(), values = words(row[2]);
        for (const QString &setting : words(row[1]))
            if (setting.startsWith("opt"))
                m_s->click("twoport_main", setting);
            else
                QLocale::setDefault(QLocale(setting));
        m_s->click("twoport_main", "btnExercise");
        m_s->click("exercise_main", row[0].toLower());
        QStringList captions;
        for (const char *frame : {"frmInput", "frmZ", "frmY"})
            captions << m_s->control<QGroupBox>(calc, frame)->title();
        if (!row[3].isEmpty())
            QCOMPARE(captions.join(", "), row[3]);
        for (int k = 1; k <= 3; ++k) {
            // Only the boxes of the elements the schematic has are open.
            const bool open = row[0].contains(QString::number(k));
            auto *box = m_s->control<QLineEdit>(calc, QStringLiteral("val%1").arg(k));
            auto *label = m_s->control<QLabel>(calc, QStringLiteral("in%1").arg(k));
            QCOMPARE(box->isEnabled(), open);
            QCOMPARE(box->text(), open ? QString() : QStringLiteral("0"));
            QCOMPARE(label->text(), captions[0].left(1).replace('C', 'G') + QString::number(k));
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     open ? QColor(Qt::black) : QColor(200, 200, 200));
        }
        m_s->fill(values);
        m_s->calculate();
        QCOMPARE(m_s->messages(), QStringList());
        QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
        QGuiApplication::clipboard()->clear();
        m_s->window(calc)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_s->window(calc)));
        QTest::keyClick(m_s->window(calc), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.startsWith("Schematic " + row[0]), qPrintable(copied));
        for (const auto &[frame, boxes, shown] :
             {std::tuple{"frmZ", zBoxes, row[4]}, std::tuple{"frmY", yBoxes, row[5]}}) {
            auto *f = m_s->control<QGroupBox>(calc, frame);
            QCOMPARE(f->isEnabled(), !shown.isEmpty());
            QCOMPARE(m_s->texts(calc, boxes).join(' ').trimmed(), shown);
            QCOMPARE(f->toolTip().isEmpty(), f->isEnabled());
            QCOMPARE(copied.contains(QString(frame).mid(3) + " parameters (" +
                                     f->title().section('(', 1).chopped(1) + "): does not exist"),
                     !f->isEnabled());
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
                            .contains(row[0].left(1) + QString::number(k + 1)))
                        QVERIFY2(tip.contains(writeNumber(readNumber(values[k])) + ' '),
                                 qPrintable(tip));
            }
        }
    }

    // Schematic and the bad values; "new Y": the direct Y of the conductance family runs first
    // and stays while the inversion for Z fails. In the resistance family the inversion is the
    // Y procedure, which runs first.
    void failureKeepsWhatItMust_data() { addRows({"G1G2|0 5|new Y", "R1R2|3 0|", "G1G2|1 x|"}); }
    void failureKeepsWhatItMust()
    {
        const QStringList row = fields();
        const bool newY = !row[2].isEmpty();
        m_s->exercise(row[0], {"1", "2"});
        const QStringList z = m_s->texts(calc, zBoxes), y = m_s->texts(calc, yBoxes);
        const double pz11 = m_s->state().pz11(), py11 = m_s->state().py11();
        m_s->fill(words(row[1]));
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->calculate();
        QCOMPARE(m_s->messages(), inputError);
        QCOMPARE(m_s->texts(calc, zBoxes), z);
        QCOMPARE(m_s->state().pz11(), pz11);
        QCOMPARE(m_s->texts(calc, yBoxes), (newY ? QStringList{"5", "-5", "-5", "5"} : y));
        QCOMPARE(m_s->state().py11(), newY ? 5.0 : py11);
        QVERIFY(m_s->control(calc, "frmZ")->isEnabled());
        // The working shown is that of the numbers shown, old or new.
        for (const QString &name : zBoxes + yBoxes)
            QCOMPARE(lastNumber(m_s->control(calc, name)->toolTip()), m_s->text(calc, name));
        if (newY) {
            QVERIFY(m_s->control(calc, "y11")->toolTip().contains("0 mS + 5 mS"));
            QVERIFY(m_s->control(calc, "z11")->toolTip().contains("Δ = G3·G1 + G1·G2 + G3·G2"));
        }
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

    void unitChangeBetweenExercises()
    {
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        // Locked until the last tool window has gone.
        m_s->window("exercise_main")->close();
        QVERIFY(!m_s->control("twoport_main", "frameRes")->isEnabled());
        QCOMPARE(m_s->state().currentMode(), qint16(1));
        m_s->window(calc)->close();
        QCOMPARE(m_s->state().currentMode(), qint16(0));
        // mOhm in, S out: the powers no longer cancel as kOhm and mS do.
        m_s->click("twoport_main", "optR1");
        m_s->click("twoport_main", "optS2");
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        QCOMPARE(m_s->texts(calc, zBoxes), (QStringList{"3", "2", "2", "5"}));
        QCOMPARE(m_s->texts(calc, yBoxes), (QStringList{"454.545454545455", "-181.818181818182",
                                                        "-181.818181818182", "272.727272727273"}));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestExercise)

#include "tst_exercise.moc"
