#include "resources/pictures.h"
#include "support/session.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
const QString helper = QStringLiteral("lab_helper");
} // namespace

class TestLab : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    // Parameter, unit options, then the captions of frameMeasure1, frameMeasure2, lblParameter.
    void captions_data()
    {
        addRows(
            {"z11||V1, V|I1, mA|Parameter z11 value (kOhm):", "B||V1, V|I2, mA|Parameter B value:",
             "h22|optV1 optA2 optS2|I2, A|V2, mV|Parameter h22 value (S):"});
    }
    void captions()
    {
        const QStringList row = fields();
        for (const QString &option : words(row[1]))
            m_s->click("twoport_main", option);
        m_s->lab(row[0]);
        QCOMPARE((QStringList{m_s->control<QGroupBox>(helper, "frameMeasure1")->title(),
                              m_s->control<QGroupBox>(helper, "frameMeasure2")->title(),
                              m_s->control<QLabel>(helper, "lblParameter")->text()}),
                 row.mid(2));
        QCOMPARE(m_s->control<PictureBox>(helper, "picLab")->pictureName(),
                 "LAB" + row[0].toUpper());
    }

    // A row: parameter, readings, answer, then any of a warning, options clicked first and the
    // locale. The first rows are an independent check: a T network R1 = 1 kOhm, R2 = 2 kOhm,
    // R3 = 3 kOhm on the bench, solved by hand for each set-up, read as the instruments would
    // (V, mA), must give back its parameters. 1 mA into port 1, port 2 open: V1 = 3 V, V2 = 2 V.
    // 1 mA into port 2, port 1 open: V1 = 2 V, V2 = 5 V. 11 V on port 1, port 2 shorted:
    // I1 = 11 / (1 + 2||3) = 5 mA, I2 = -2 mA. 11 V on port 2, port 1 shorted:
    // I2 = 11 / (3 + 1||2) = 3 mA, I1 = -2 mA. Then every formula once with a wrong sign,
    // which warns, and answers in other units and locales.
    void calculates_data()
    {
        // clang-format off
        addRows({
            "z11 3 1 3",     "z21 2 1 2",     "A 3 2 1.5",     "C 1 2 0.0005",
            "z12 2 1 2",     "z22 5 1 5",     "h12 2 5 0.4",   "h22 1 5 0.2",
            "y11 5 11 0.454545454545455",     "y21 -2 11 -0.181818181818182",
            "h11 11 5 2.2",  "h21 5 -2 -0.4", "B 11 2 5500",   "D 5 2 2.5",
            "y22 3 11 0.272727272727273",     "y12 -2 11 -0.181818181818182",
            "z12 -5 2 -2.5 POSITIVE",         "z11 5 2 2500 optR2",
            "y21 3 6 0.5 NEGATIVE",           "y11 -3 6 -0.5 POSITIVE",
            "h22 3 6 0.0005 optS2",           "h21 2 1 0.5 NEGATIVE",
            "h21 2 0 0",                      "A -10 4 -2.5 POSITIVE optV1",
            "B -5 2 -2500 POSITIVE optR1",    "z11 1e-5 1 1E-05 optR2 optA2",
            "z11 1.5 1 1,5 de_DE"});
        // clang-format on
    }
    void calculates()
    {
        const QStringList words = fields(' ');
        QString warning;
        for (const QString &word : words.mid(4))
            if (word.startsWith("opt"))
                m_s->click("twoport_main", word);
            else if (word.contains('_'))
                QLocale::setDefault(QLocale(word));
            else
                warning = word;
        m_s->lab(words[0]);
        if (!warning.isEmpty())
            m_s->boxes().answer(QMessageBox::Ok);
        QCOMPARE(m_s->labAnswer(words[1], words[2]), words[3]);
        const auto boxes = m_s->boxes().takeBoxes();
        QCOMPARE(boxes.size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty()) {
            QCOMPARE(boxes[0].text, QString("Warning! The %1 parameter should have a %2 value.")
                                        .arg(words[0], warning));
            QCOMPARE(boxes[0].icon, QMessageBox::Information);
        }
    }

    // Parameter, readings, and the message a word pair draws before the error message; the
    // answer stays as it was.
    void failureKeepsAnswer_data()
    {
        addRows({"z11|easter|Egg|Yes, it is.", "z11|brumo|tisk|God be with ye :-)",
                 "z11|EGG|EASTER|", "z11||2|", "y22|3|0|", "B|1e308|1e-10|"});
    }
    void failureKeepsAnswer()
    {
        const QStringList row = fields();
        m_s->lab(row[0]);
        const QString before = m_s->labAnswer("2", "4");
        m_s->messages();
        const QStringList expected = row[3].isEmpty() ? inputError : row.mid(3) + inputError;
        for (int i = 0; i < expected.size(); ++i)
            m_s->boxes().answer(QMessageBox::Ok);
        QCOMPARE(m_s->labAnswer(row[1], row[2]), before);
        QCOMPARE(m_s->messages(), expected);
    }

    void valuesAndWorkingSurviveAParameterChange()
    {
        m_s->lab("z11");
        QCOMPARE(m_s->labAnswer("5", "2"), QStringLiteral("2.5"));
        QCOMPARE(m_s->control(helper, "txtLabAnswer")->toolTip(),
                 QStringLiteral("z11 = V1 / I1 = 5 V / 2 mA = 2.5 kOhm"));
        m_s->lab("B");
        QCOMPARE(m_s->texts(helper, {"txtMeasure1", "txtMeasure2", "txtLabAnswer"}),
                 (QStringList{"5", "2", "2.5"}));
        m_s->click(helper, "btnCalculate");
        QCOMPARE(m_s->text(helper, "txtLabAnswer"), QStringLiteral("2500"));
        // B's fixed unit shows in its working as a second step.
        QCOMPARE(m_s->control(helper, "txtLabAnswer")->toolTip(),
                 QStringLiteral("B = V1 / I2 = 5 V / 2 mA = 5 V / 0.002 A = 2500 Ohm"));
        QTest::keyClick(m_s->window(helper), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Parameter B\nV1 = 5 V\nI2 = 2 mA\nB = 2500 Ohm\n"));
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

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestLab)

#include "tst_lab.moc"
