#include "lab/labformula.h"
#include "resources/pictures.h"
#include "shell/application.h"
#include "support/session.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
const QString helper = QStringLiteral("lab_helper");
const QString errorText = QStringLiteral("An error occured! Check your input data.");
} // namespace

class TestLab : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_s = std::make_unique<Session>();
    }
    void cleanup()
    {
        m_s.reset();
        QLocale::setDefault(QLocale::c());
    }

    void selectionLayout();
    void captions_data();
    void captions();
    void calculates_data();
    void calculates();
    void wordPairs_data();
    void wordPairs();
    void failureKeepsAnswer_data();
    void failureKeepsAnswer();
    void commaLocale();
    void choiceKeepsTypedValues();
    void windowsCloseIndependently();
    void helperLayout();
    void physicalNetwork_data();
    void physicalNetwork();

private:
    void choose(const QString &parameter)
    {
        if (!m_s->isOpen("lab_selectelement"))
            m_s->click("twoport_main", "Command1");
        QString button = parameter;
        if (button.size() > 1)
            button = button.left(1).toUpper() + button.mid(1);
        m_s->click("lab_selectelement", "btn" + button);
    }
    QString answerFor(const QString &m1, const QString &m2)
    {
        m_s->type(helper, "txtMeasure1", m1);
        m_s->type(helper, "txtMeasure2", m2);
        m_s->click(helper, "btnCalculate");
        return m_s->text(helper, "txtLabAnswer");
    }
    QStringList boxTexts()
    {
        QStringList out;
        for (const auto &b : m_s->boxes().takeBoxes())
            out << b.text;
        return out;
    }

    std::unique_ptr<Session> m_s;
};

void TestLab::selectionLayout()
{
    m_s->click("twoport_main", "Command1");
    QWidget *w = m_s->window("lab_selectelement");
    QCOMPARE(w->windowTitle(), QStringLiteral("Select parameter"));
    QCOMPARE(w->size(), QSize(200, 233));
    QCOMPARE(m_s->state().windowStates(), qint16(1));
    QCOMPARE(m_s->state().currentMode(), qint16(0));
    QCOMPARE(m_s->control("lab_selectelement", "frameABCD")->geometry(), QRect(104, 120, 89, 105));
    QCOMPARE(m_s->control("lab_selectelement", "btnD")->geometry(), QRect(48, 64, 33, 33));
    QCOMPARE(
        m_s->control<QGroupBox>("lab_selectelement", "frameH")->palette().color(QPalette::Window),
        QColor(255, 192, 192));
}

void TestLab::captions_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QStringList>("units"); // options clicked before opening
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("equation");
    const QStringList defaults;
    QTest::newRow("z11") << "z11" << defaults
                         << QStringList{"V1, V", "I1, mA", "Parameter z11 value (kOhm):"} << 1;
    QTest::newRow("y12") << "y12" << defaults
                         << QStringList{"I1, mA", "V2, V", "Parameter y12 value (mS):"} << 2;
    QTest::newRow("h12") << "h12" << defaults
                         << QStringList{"V1, V", "V2, V", "Parameter h12 value:"} << 3;
    QTest::newRow("B") << "B" << defaults << QStringList{"V1, V", "I2, mA", "Parameter B value:"}
                       << 6;
    QTest::newRow("C") << "C" << defaults << QStringList{"I1, mA", "V2, V", "Parameter C value:"}
                       << 7;
    const QStringList other{"optV1", "optA2", "optR1", "optS2"};
    QTest::newRow("z21 other") << "z21" << other
                               << QStringList{"V2, mV", "I1, A", "Parameter z21 value (mOhm):"}
                               << 1;
    QTest::newRow("h11 other") << "h11" << other
                               << QStringList{"V1, mV", "I1, A", "Parameter h11 value (mOhm):"}
                               << 1;
    QTest::newRow("h22 other") << "h22" << other
                               << QStringList{"I2, A", "V2, mV", "Parameter h22 value (S):"} << 2;
    QTest::newRow("h21 other") << "h21" << other
                               << QStringList{"I1, A", "I2, A", "Parameter h21 value:"} << 4;
    QTest::newRow("D other") << "D" << other << QStringList{"I1, A", "I2, A", "Parameter D value:"}
                             << 8;
    QTest::newRow("A other") << "A" << other
                             << QStringList{"V1, mV", "V2, mV", "Parameter A value:"} << 5;
}

void TestLab::captions()
{
    QFETCH(QString, parameter);
    QFETCH(QStringList, units);
    QFETCH(QStringList, captions);
    QFETCH(int, equation);
    for (const QString &option : units)
        m_s->click("twoport_main", option);
    choose(parameter);
    QCOMPARE(m_s->control<QGroupBox>(helper, "frameMeasure1")->title(), captions[0]);
    QCOMPARE(m_s->control<QGroupBox>(helper, "frameMeasure2")->title(), captions[1]);
    QCOMPARE(m_s->control<QLabel>(helper, "lblParameter")->text(), captions[2]);
    QCOMPARE(m_s->control<PictureBox>(helper, "picLab")->pictureName(),
             "LAB" + parameter.toUpper());
    QCOMPARE(m_s->state().curLabParam(), parameter);
    QCOMPARE(int(m_s->state().labEquation()), equation);
    QCOMPARE(m_s->state().windowStates(), qint16(3));
}

void TestLab::calculates_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("m1");
    QTest::addColumn<QString>("m2");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("warning"); // empty, POSITIVE or NEGATIVE
    const QStringList none;
    auto row = [](const char *tag, const char *p, QStringList units, const char *m1, const char *m2,
                  const char *answer, const char *warning) {
        QTest::newRow(tag) << QString(p) << units << QString(m1) << QString(m2) << QString(answer)
                           << QString(warning);
    };
    row("z11", "z11", none, "5", "2", "2.5", "");
    row("z12 negative", "z12", none, "-5", "2", "-2.5", "POSITIVE");
    row("z11 in ohm", "z11", {"optR2"}, "5", "2", "2500", "");
    row("y21", "y21", none, "3", "6", "0.5", "NEGATIVE");
    row("y21 negative", "y21", none, "-3", "6", "-0.5", "");
    row("y11 negative", "y11", none, "-3", "6", "-0.5", "POSITIVE");
    row("h22 in S", "h22", {"optS2"}, "3", "6", "0.0005", "");
    row("h12 negative", "h12", none, "-1", "4", "-0.25", "POSITIVE");
    row("h21", "h21", none, "2", "-1", "-0.5", "");
    row("h21 warns", "h21", none, "2", "1", "0.5", "NEGATIVE");
    row("h21 zero", "h21", none, "2", "0", "0", "");
    row("A", "A", {"optV1"}, "10", "4", "2.5", "");
    row("B in ohms", "B", none, "5", "2", "2500", "");
    row("B ignores ohm unit", "B", {"optR1"}, "5", "2", "2500", "");
    row("C in siemens", "C", {"optS2"}, "2", "4", "0.0005", "");
    row("C negative", "C", none, "-2", "4", "-0.0005", "POSITIVE");
    row("D negative", "D", none, "-1", "4", "-0.25", "POSITIVE");
    row("zero z22", "z22", none, "0", "3", "0", "");
    row("zero y12", "y12", none, "0", "3", "0", "");
    row("small", "z11", {"optR2", "optA2"}, "1e-5", "1", "1E-05", "");
}

void TestLab::calculates()
{
    QFETCH(QString, parameter);
    QFETCH(QStringList, units);
    QFETCH(QString, m1);
    QFETCH(QString, m2);
    QFETCH(QString, answer);
    QFETCH(QString, warning);
    for (const QString &option : units)
        m_s->click("twoport_main", option);
    choose(parameter);
    if (!warning.isEmpty())
        m_s->boxes().answer(QMessageBox::Ok);
    QCOMPARE(answerFor(m1, m2), answer);
    const auto boxes = m_s->boxes().takeBoxes();
    if (warning.isEmpty()) {
        QCOMPARE(boxes.size(), 0);
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 "Warning! The " + parameter + " parameter should have a " + warning + " value.");
        QCOMPARE(boxes[0].icon, QMessageBox::Information);
        QCOMPARE(boxes[0].title, QStringLiteral("Kvadra"));
    }
}

void TestLab::wordPairs_data()
{
    QTest::addColumn<QString>("m1");
    QTest::addColumn<QString>("m2");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("easter egg") << "easter"
                                << "Egg" << QStringList{"Yes, it is.", errorText};
    QTest::newRow("reversed") << "EGG"
                              << "EASTER" << QStringList{errorText};
    QTest::newRow("leading blank") << " EASTER"
                                   << "EGG" << QStringList{errorText};
    QTest::newRow("one box") << "EASTER EGG"
                             << "" << QStringList{errorText};
    QTest::newRow("second pair") << "brumo"
                                 << "tisk" << QStringList{"God be with ye :-)", errorText};
}

void TestLab::wordPairs()
{
    QFETCH(QString, m1);
    QFETCH(QString, m2);
    QFETCH(QStringList, messages);
    choose("z11");
    answerFor("4", "2");
    for (int i = 0; i < messages.size(); ++i)
        m_s->boxes().answer(QMessageBox::Ok);
    QCOMPARE(answerFor(m1, m2), QStringLiteral("2"));
    const auto boxes = m_s->boxes().takeBoxes();
    QStringList texts;
    for (const auto &b : boxes)
        texts << b.text;
    QCOMPARE(texts, messages);
    if (messages.size() == 2)
        QCOMPARE(boxes[0].icon, m1 == "easter" ? QMessageBox::Information : QMessageBox::Warning);
    QCOMPARE(boxes.last().icon, QMessageBox::Warning);
}

void TestLab::failureKeepsAnswer_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("m1");
    QTest::addColumn<QString>("m2");
    QTest::newRow("empty first") << "z11"
                                 << ""
                                 << "2";
    QTest::newRow("divisor zero") << "y22"
                                  << "3"
                                  << "0";
    QTest::newRow("zero over zero") << "A"
                                    << "0"
                                    << "0";
    QTest::newRow("h21 first zero") << "h21"
                                    << "0"
                                    << "1";
    QTest::newRow("two separators") << "D"
                                    << "1.000,5"
                                    << "1";
    QTest::newRow("overflow") << "B"
                              << "1e308"
                              << "1e-10";
    QTest::newRow("inf") << "C"
                         << "inf"
                         << "1";
}

void TestLab::failureKeepsAnswer()
{
    QFETCH(QString, parameter);
    QFETCH(QString, m1);
    QFETCH(QString, m2);
    choose(parameter);
    QVERIFY(!answerFor("2", "4").isEmpty());
    m_s->boxes().takeBoxes();
    const QString before = m_s->text(helper, "txtLabAnswer");
    m_s->boxes().answer(QMessageBox::Ok);
    QCOMPARE(answerFor(m1, m2), before);
    QCOMPARE(boxTexts(), QStringList{errorText});
}

void TestLab::commaLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    choose("z11");
    QCOMPARE(answerFor("1.5", "1"), QStringLiteral("1,5"));
    QCOMPARE(answerFor("1,5", "1"), QStringLiteral("1,5"));
    QCOMPARE(answerFor("1,000", "1"), QStringLiteral("1"));
    m_s->boxes().answer(QMessageBox::Ok);
    QCOMPARE(answerFor("1.000,5", "1"), QStringLiteral("1"));
    QCOMPARE(boxTexts(), QStringList{errorText});
}

void TestLab::choiceKeepsTypedValues()
{
    choose("z11");
    QCOMPARE(answerFor("5", "2"), QStringLiteral("2.5"));
    choose("B");
    QCOMPARE(m_s->text(helper, "txtMeasure1"), QStringLiteral("5"));
    QCOMPARE(m_s->text(helper, "txtMeasure2"), QStringLiteral("2"));
    QCOMPARE(m_s->text(helper, "txtLabAnswer"), QStringLiteral("2.5"));
    QCOMPARE(m_s->state().labEquation(), qint16(6));
    m_s->click(helper, "btnCalculate");
    QCOMPARE(m_s->text(helper, "txtLabAnswer"), QStringLiteral("2500"));
}

void TestLab::windowsCloseIndependently()
{
    choose("h11");
    m_s->window("lab_selectelement")->close();
    QVERIFY(m_s->isOpen(helper));
    QCOMPARE(m_s->state().windowStates(), qint16(2));
    QVERIFY(!m_s->control("twoport_main", "frameVol")->isEnabled());
    QCOMPARE(answerFor("3", "1"), QStringLiteral("3"));
    // A test started meanwhile keeps its mode while the lab window is open.
    m_s->click("twoport_main", "btnTest");
    QCOMPARE(m_s->state().currentMode(), qint16(2));
    m_s->window("exercise_main")->close();
    QCOMPARE(m_s->state().currentMode(), qint16(2));
    m_s->window(helper)->close();
    QCOMPARE(m_s->state().windowStates(), qint16(0));
    QCOMPARE(m_s->state().currentMode(), qint16(0));
    QVERIFY(m_s->control("twoport_main", "frameVol")->isEnabled());
}

void TestLab::helperLayout()
{
    choose("A");
    QWidget *w = m_s->window(helper);
    QCOMPARE(w->windowTitle(), QStringLiteral("Lab helper"));
    QCOMPARE(w->size(), QSize(442, 300));
    QVERIFY(w->maximumSize().width() > 442);
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QList<std::pair<const char *, QRect>> rows{
        {"frameMeasure", {8, 8, 425, 193}},     {"picLab", {8, 48, 259, 133}},
        {"frameMeasure2", {280, 112, 137, 57}}, {"txtMeasure2", {8, 24, 121, 19}},
        {"frameAnswer", {8, 208, 425, 81}},     {"btnCalculate", {8, 24, 201, 49}},
        {"lblParameter", {224, 24, 169, 17}},   {"txtLabAnswer", {224, 48, 193, 19}},
    };
    for (const auto &[name, rect] : rows)
        QCOMPARE(m_s->control(helper, name)->geometry(), rect);
    w->resize(600, 400);
    QCOMPARE(m_s->control(helper, "frameAnswer")->geometry(), QRect(8, 208, 425, 81));
    // The focus order.
    QWidget *focus = m_s->control(helper, "btnCalculate");
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << focus->objectName();
        focus = focus->nextInFocusChain();
        while (!(focus->focusPolicy() & Qt::TabFocus) || !focus->isEnabled())
            focus = focus->nextInFocusChain();
    }
    QCOMPARE(order,
             (QStringList{"btnCalculate", "txtLabAnswer", "txtMeasure1", "txtMeasure2", "picLab"}));
}

// An independent check: a T network R1 = 1 kOhm, R2 = 2 kOhm, R3 = 3 kOhm on the bench, solved
// by hand for each set-up, fed to the helper as the instruments would read, must give back its
// parameters (z11 = 3 kOhm, z12 = z21 = 2, z22 = 5; y11 = 5/11 mS ...; h11 = R1 + R2||R3 = 2.2,
// h12 = 0.4, h21 = -0.4, h22 = 0.2 mS; A = 1.5, B = 5.5 kOhm, C = 0.5 mS, D = 2.5).
void TestLab::physicalNetwork_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<double>("m1");
    QTest::addColumn<double>("m2");
    QTest::addColumn<double>("expected");
    // Readings in V and mA. Port 1 driven with 1 mA, port 2 open: V1 = 3 V, V2 = 2 V.
    QTest::newRow("z11") << "z11" << 3.0 << 1.0 << 3.0;
    QTest::newRow("z21") << "z21" << 2.0 << 1.0 << 2.0;
    // Port 2 driven with 1 mA, port 1 open: V1 = 2 V, V2 = 5 V.
    QTest::newRow("z12") << "z12" << 2.0 << 1.0 << 2.0;
    QTest::newRow("z22") << "z22" << 5.0 << 1.0 << 5.0;
    // 11 V on port 1, port 2 shorted: I1 = 11 / (1 + 2||3) kOhm = 5 mA, I2 = -2 mA.
    QTest::newRow("y11") << "y11" << 5.0 << 11.0 << 5.0 / 11.0;
    QTest::newRow("y21") << "y21" << -2.0 << 11.0 << -2.0 / 11.0;
    // 11 V on port 2, port 1 shorted: I2 = 11 / (3 + 1||2) = 3 mA, I1 = -2 mA.
    QTest::newRow("y22") << "y22" << 3.0 << 11.0 << 3.0 / 11.0;
    QTest::newRow("y12") << "y12" << -2.0 << 11.0 << -2.0 / 11.0;
    // 5 mA into port 1, port 2 shorted: V1 = 5 * 2.2 = 11 V, I2 = -2 mA.
    QTest::newRow("h11") << "h11" << 11.0 << 5.0 << 2.2;
    QTest::newRow("h21") << "h21" << 5.0 << -2.0 << -0.4;
    // 5 V on port 2, port 1 open: I2 = 1 mA, V1 = 2 V.
    QTest::newRow("h12") << "h12" << 2.0 << 5.0 << 0.4;
    QTest::newRow("h22") << "h22" << 1.0 << 5.0 << 0.2;
    // Port 2 open, V1 = 3 V drives I1 = 1 mA and V2 = 2 V.
    QTest::newRow("A") << "A" << 3.0 << 2.0 << 1.5;
    QTest::newRow("C") << "C" << 1.0 << 2.0 << 0.0005;
    // Port 2 shorted, 11 V drive: I1 = 5 mA, the ammeter reads 2 mA flowing out of port 2.
    QTest::newRow("B") << "B" << 11.0 << 2.0 << 5500.0;
    QTest::newRow("D") << "D" << 5.0 << 2.0 << 2.5;
}

void TestLab::physicalNetwork()
{
    QFETCH(QString, parameter);
    QFETCH(double, m1);
    QFETCH(double, m2);
    QFETCH(double, expected);
    choose(parameter);
    m_s->type(helper, "txtMeasure1", QString::number(m1, 'g', 17));
    m_s->type(helper, "txtMeasure2", QString::number(m2, 'g', 17));
    m_s->click(helper, "btnCalculate");
    QCOMPARE(m_s->boxes().takeBoxes().size(), 0);
    const double shown = m_s->text(helper, "txtLabAnswer").toDouble();
    QVERIFY2(qAbs(shown - expected) <= 1e-12 * qMax(1.0, qAbs(expected)),
             qPrintable(QString("%1 shows %2").arg(parameter).arg(shown)));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestLab test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lab.moc"
