#include "resources/picturewidgets.h"
#include "support/session.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

using namespace kvadra;

namespace
{
const QString helper = QStringLiteral("lab_helper");
} // namespace

class TestLab : public SessionTest
{
    Q_OBJECT
private slots:
    // A T network R1 = 1 kOhm, R2 = 2 kOhm, R3 = 3 kOhm on the bench, solved by hand for each
    // set-up and read as the instruments would (V, mA), must give back its parameters.
    // 1 mA into port 1, port 2 open: V1 = 3 V, V2 = 2 V. 1 mA into port 2, port 1 open:
    // V1 = 2 V, V2 = 5 V. 11 V on port 1, port 2 shorted: I1 = 11 / (1 + 2||3) = 5 mA,
    // I2 = -2 mA. 11 V on port 2, port 1 shorted: I2 = 11 / (3 + 1||2) = 3 mA, I1 = -2 mA.
    // Then every formula once with a wrong sign.
    void answers_data()
    {
        // warning: the sign expected, empty where none is drawn.
        columns<QString, QString, QString, QString, QString>("parameter", "reading1", "reading2",
                                                             "answer", "warning");
        auto row = [](const char *what, const char *parameter, const char *reading1,
                      const char *reading2, const char *answer, const char *warning = "") {
            QTest::newRow(what) << QString(parameter) << QString(reading1) << QString(reading2)
                                << QString(answer) << QString(warning);
        };
        // clang-format off
        row("z11, port 2 open",    "z11", "3",  "1",  "3");
        row("z21, port 2 open",    "z21", "2",  "1",  "2");
        row("A, port 2 open",      "A",   "3",  "2",  "1.5");
        row("C, port 2 open",      "C",   "1",  "2",  "0.0005");
        row("z12, port 1 open",    "z12", "2",  "1",  "2");
        row("z22, port 1 open",    "z22", "5",  "1",  "5");
        row("h12, port 1 open",    "h12", "2",  "5",  "0.4");
        row("h22, port 1 open",    "h22", "1",  "5",  "0.2");
        row("y11, port 2 shorted", "y11", "5",  "11", "0.454545454545455");
        row("y21, port 2 shorted", "y21", "-2", "11", "-0.181818181818182");
        row("h11, port 2 shorted", "h11", "11", "5",  "2.2");
        row("h21, port 2 shorted", "h21", "5",  "-2", "-0.4");
        row("B, port 2 shorted",   "B",   "11", "2",  "5500");
        row("D, port 2 shorted",   "D",   "5",  "2",  "2.5");
        row("y22, port 1 shorted", "y22", "3",  "11", "0.272727272727273");
        row("y12, port 1 shorted", "y12", "-2", "11", "-0.181818181818182");
        row("z12 < 0",             "z12", "-5", "2",  "-2.5", "POSITIVE");
        row("y21 > 0",             "y21", "3",  "6",  "0.5",  "NEGATIVE");
        row("y11 < 0",             "y11", "-3", "6",  "-0.5", "POSITIVE");
        row("h21 > 0",             "h21", "2",  "1",  "0.5",  "NEGATIVE");
        row("h21 = 0 never warns", "h21", "2",  "0",  "0");
        // clang-format on
    }
    void answers()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, reading1);
        QFETCH(QString, reading2);
        QFETCH(QString, answer);
        QFETCH(QString, warning);
        m_s->lab(parameter);
        QCOMPARE(m_s->control<PictureBox>(helper, "picLab")->pictureName(),
                 "LAB" + parameter.toUpper());
        // Every box offers OK alone, and the answerer presses it.
        QCOMPARE(m_s->labAnswer(reading1, reading2), answer);
        QCOMPARE(m_s->boxes().takeBoxes(),
                 warning.isEmpty()
                     ? QList<MessageBoxAnswerer::Box>()
                     : QList{box(QString("Warning! The %1 parameter should have a %2 value.")
                                     .arg(parameter, warning),
                                 QMessageBox::Information)});
    }

    // The units chosen in the main window, and the locale's decimal separator.
    void unitsAndLocale_data()
    {
        columns<QStringList, QString, QString, QString, QString, QString>(
            "options", "locale", "parameter", "reading1", "reading2", "answer");
        QTest::newRow("A in mV") << QStringList{"optV1"} << "C"
                                 << "A"
                                 << "-10"
                                 << "4"
                                 << "-2.5";
        QTest::newRow("B in Ohm whatever the unit") << QStringList{"optR1"} << "C"
                                                    << "B"
                                                    << "-5"
                                                    << "2"
                                                    << "-2500";
        QTest::newRow("z11 in Ohm") << QStringList{"optR2"} << "C"
                                    << "z11"
                                    << "5"
                                    << "2"
                                    << "2500";
        QTest::newRow("h22 in S") << QStringList{"optS2"} << "C"
                                  << "h22"
                                  << "3"
                                  << "6"
                                  << "0.0005";
        QTest::newRow("z11 in Ohm from V and A") << QStringList{"optR2", "optA2"} << "C"
                                                 << "z11"
                                                 << "1e-5"
                                                 << "1"
                                                 << "1E-05";
        QTest::newRow("h22 in mV, A and S") << QStringList{"optV1", "optA2", "optS2"} << "C"
                                            << "h22"
                                            << "1"
                                            << "5"
                                            << "200";
        QTest::newRow("German comma") << QStringList() << "de_DE"
                                      << "z11"
                                      << "1.5"
                                      << "1"
                                      << "1,5";
    }
    void unitsAndLocale()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, locale);
        QFETCH(QString, parameter);
        QFETCH(QString, reading1);
        QFETCH(QString, reading2);
        QFETCH(QString, answer);
        m_s->chooseUnits(options);
        QLocale::setDefault(QLocale(locale));
        m_s->lab(parameter);
        QCOMPARE(m_s->labAnswer(reading1, reading2), answer);
        m_s->boxes().takeBoxes();
    }

    // The two readings' frames and the answer's label name their quantities and units.
    void captions_data()
    {
        columns<QStringList, QString, QStringList>("options", "parameter", "captions");
        QTest::newRow("z11 in the default units")
            << QStringList() << "z11"
            << QStringList{"V1, V", "I1, mA", "Parameter z11 value (kOhm):"};
        QTest::newRow("B has no unit of its own")
            << QStringList() << "B" << QStringList{"V1, V", "I2, mA", "Parameter B value:"};
        QTest::newRow("h22 in mV, A and S")
            << QStringList{"optV1", "optA2", "optS2"} << "h22"
            << QStringList{"I2, A", "V2, mV", "Parameter h22 value (S):"};
    }
    void captions()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, parameter);
        QFETCH(QStringList, captions);
        m_s->chooseUnits(options);
        m_s->lab(parameter);
        QCOMPARE((QStringList{m_s->control<QGroupBox>(helper, "frameMeasure1")->title(),
                              m_s->control<QGroupBox>(helper, "frameMeasure2")->title(),
                              m_s->control<QLabel>(helper, "lblParameter")->text()}),
                 captions);
    }

    // A failed calculation keeps the answer there was and says why; a word pair draws its
    // message before the error message.
    void failures_data()
    {
        using Boxes = QList<MessageBoxAnswerer::Box>;
        columns<QString, QString, QString, Boxes>("parameter", "reading1", "reading2", "boxes");
        const Boxes error{box(inputError[0], QMessageBox::Warning)};
        QTest::newRow("easter egg")
            << "z11"
            << "easter"
            << "Egg" << Boxes{box("Yes, it is.", QMessageBox::Information)} + error;
        QTest::newRow("brumo tisk")
            << "z11"
            << "brumo"
            << "tisk" << Boxes{box("God be with ye :-)", QMessageBox::Warning)} + error;
        QTest::newRow("the pair the wrong way round") << "z11"
                                                      << "EGG"
                                                      << "EASTER" << error;
        QTest::newRow("empty reading") << "z11"
                                       << ""
                                       << "2" << error;
        QTest::newRow("division by zero") << "y22"
                                          << "3"
                                          << "0" << error;
        QTest::newRow("overflow") << "B"
                                  << "1e308"
                                  << "1e-10" << error;
    }
    void failures()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, reading1);
        QFETCH(QString, reading2);
        QFETCH(QList<MessageBoxAnswerer::Box>, boxes);
        m_s->lab(parameter);
        const QString before = m_s->labAnswer("2", "4");
        m_s->boxes().takeBoxes();
        QCOMPARE(m_s->labAnswer(reading1, reading2), before);
        QCOMPARE(m_s->boxes().takeBoxes(), boxes);
    }

    void valuesAndWorkingSurviveAParameterChange()
    {
        m_s->lab("z11");
        // The helper grows but never hides its inputs.
        const QSize design = m_s->window(helper)->size();
        m_s->window(helper)->resize(100, 100);
        QCOMPARE(m_s->window(helper)->size(), design);
        // Before the first calculation there is nothing to copy.
        for (QAction *action : m_s->window(helper)->findChildren<QAction *>())
            QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
        QCOMPARE(m_s->labAnswer("5", "2"), QStringLiteral("2.5"));
        QCOMPARE(m_s->control(helper, "txtLabAnswer")->toolTip(),
                 QStringLiteral("z11 = 2.5 kOhm\nz11 = V1 / I1 = 5 V / 2 mA = 2.5 kOhm"));
        m_s->lab("B");
        QCOMPARE(m_s->texts(helper, {"txtMeasure1", "txtMeasure2", "txtLabAnswer"}),
                 (QStringList{"5", "2", "2.5"}));
        m_s->click(helper, "btnCalculate");
        QCOMPARE(m_s->text(helper, "txtLabAnswer"), QStringLiteral("2500"));
        // B's fixed unit shows in its working as a second step.
        QCOMPARE(
            m_s->control(helper, "txtLabAnswer")->toolTip(),
            QStringLiteral("B = 2500 Ohm\nB = V1 / I2 = 5 V / 2 mA = 5 V / 0.002 A = 2500 Ohm"));
        const QString copied = QStringLiteral("Parameter B\nV1 = 5 V\nI2 = 2 mA\nB = 2500 Ohm\n");
        QCOMPARE(m_s->copy(helper), copied);
        // The copy is of the last calculation, not of what the boxes hold since.
        m_s->lab("y12");
        m_s->type(helper, "txtMeasure1", "7");
        QCOMPARE(m_s->copy(helper), copied);
        // A ratio in base units needs no second step.
        m_s->lab("h12");
        QCOMPARE(m_s->labAnswer("3", "6"), QStringLiteral("0.5"));
        QCOMPARE(m_s->control(helper, "txtLabAnswer")->toolTip().section('\n', 1),
                 QStringLiteral("h12 = V1 / V2 = 3 V / 6 V = 0.5"));
    }

    void windowsCloseIndependently()
    {
        m_s->lab("h11");
        m_s->window("lab_selectelement")->close();
        QCOMPARE(m_s->state().windowStates(), qint16(2));
        QVERIFY(!m_s->control("twoport_main", "frameVol")->isEnabled());
        QCOMPARE(m_s->labAnswer("3", "1"), QStringLiteral("3"));
        // A test started meanwhile keeps its mode while the lab window is open.
        m_s->click("twoport_main", "btnTest");
        m_s->window("exercise_main")->close();
        QCOMPARE(m_s->state().currentMode(), qint16(2));
        m_s->window(helper)->close();
        QCOMPARE(m_s->state().windowStates(), qint16(0));
        QCOMPARE(m_s->state().currentMode(), qint16(0));
        QVERIFY(m_s->control("twoport_main", "frameVol")->isEnabled());
    }
};

KVADRA_TEST_MAIN(TestLab)

#include "tst_lab.moc"
