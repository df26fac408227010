#include "resources/pictures.h"
#include "shell/application.h"
#include "support/session.h"
#include "twoport/catalogue.h"
#include "twoport/numbertext.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
const QStringList zBoxes{"z11", "z12", "z21", "z22"};
const QStringList yBoxes{"y11", "y12", "y21", "y22"};
const QString calc = QStringLiteral("exercise_calc");
const QString errorText = QStringLiteral("An error occured! Check your input data.");
} // namespace

class TestExercise : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectionWindowLayout();
    void calculatorLayout_data();
    void calculatorLayout();
    void prepareSetsUpInputs_data();
    void prepareSetsUpInputs();
    void calculates_data();
    void calculates();
    void failureKeepsWhatItMust_data();
    void failureKeepsWhatItMust();
    void readsTypedValues_data();
    void readsTypedValues();
    void focusSelectsAll();
    void unitChangeBetweenExercises();
    void secondSchematicStartsAfresh();

private:
    QStringList texts(const QStringList &boxes)
    {
        QStringList out;
        for (const QString &b : boxes)
            out << m_s->text(calc, b);
        return out;
    }
    void expectErrorBox()
    {
        const auto boxes = m_s->boxes().takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, errorText);
        QCOMPARE(boxes[0].title, QStringLiteral("Kvadra"));
        QCOMPARE(boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    void expectNoBox() { QCOMPARE(m_s->boxes().takeBoxes().size(), 0); }

    std::unique_ptr<Session> m_s;
};

void TestExercise::init()
{
    QLocale::setDefault(QLocale::c());
    m_s = std::make_unique<Session>();
}

void TestExercise::cleanup()
{
    m_s.reset();
    QLocale::setDefault(QLocale::c());
}

void TestExercise::selectionWindowLayout()
{
    m_s->click("twoport_main", "btnExercise");
    QCOMPARE(m_s->state().currentMode(), qint16(1));
    QWidget *w = m_s->window("exercise_main");
    QCOMPARE(w->windowTitle(), QStringLiteral("Schematic selection"));
    QCOMPARE(w->size(), QSize(668, 481));
    auto *frame = m_s->control<QGroupBox>("exercise_main", "frmGetSchem");
    QCOMPARE(frame->title(), QStringLiteral("Choose a schematic"));
    QCOMPARE(frame->geometry(), QRect(8, 8, 649, 465));
    QCOMPARE(m_s->control<QLabel>("exercise_main", "Label1")->text(),
             QStringLiteral("Please click on the schematic for which you want to obtain Z- and "
                            "Y-parameters:"));
    const int xs[] = {8, 168, 328, 488};
    const int ys[] = {48, 152, 256, 360};
    for (const Schematic &s : catalogue()) {
        auto *button = m_s->control<QPushButton>("exercise_main", s.buttonName);
        const int cell = s.number - 1;
        QCOMPARE(button->geometry(), QRect(xs[cell % 4], ys[cell / 4], 153, 97));
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->iconSize(), QSize(145, 88));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(m_s->state().windowStates(), qint16(4));
}

void TestExercise::calculatorLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("bold");
    const struct {
        const char *name;
        QRect r;
        bool bold;
    } rows[] = {
        {"frmInputAll", {8, 8, 193, 281}, true},
        {"Label9", {16, 24, 161, 105}, false},
        {"frmInput", {16, 136, 161, 105}, true},
        {"in1", {8, 27, 25, 17}, true},
        {"in3", {8, 75, 25, 17}, true},
        {"val2", {40, 48, 105, 19}, false},
        {"cmdCalculate", {16, 248, 161, 25}, false},
        {"frmOutputAll", {216, 8, 241, 281}, true},
        {"frmZ", {16, 24, 209, 105}, true},
        {"z12", {136, 32, 57, 19}, false},
        {"z21", {40, 64, 57, 19}, false},
        {"Label4", {104, 67, 25, 17}, true},
        {"frmY", {16, 136, 209, 105}, true},
        {"y22", {136, 64, 57, 19}, false},
        {"Label8", {8, 35, 25, 17}, true},
        {"cmdContinue", {16, 248, 209, 25}, false},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString(row.name) << row.r << row.bold;
}

void TestExercise::calculatorLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, bold);
    m_s->exercise("R1", {"1"});
    QCOMPARE(m_s->window(calc)->size(), QSize(467, 298));
    QWidget *w = m_s->control(calc, name);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->font().bold(), bold);
}

void TestExercise::prepareSetsUpInputs_data()
{
    QTest::addColumn<QString>("schematic");
    QTest::addColumn<QString>("ohmOption");
    QTest::addColumn<QString>("siemensOption");
    QTest::addColumn<QStringList>("captions"); // frmInput, frmZ, frmY
    QTest::addColumn<QString>("inputs");       // per box: o open and empty, 0 disabled "0"
    QTest::addColumn<QString>("letter");
    QTest::newRow("R1R3 defaults")
        << "R1R3"
        << "optR3"
        << "optS1"
        << QStringList{"Resistor values (kOhm)", "Z parameters (kOhm)", "Y parameters (mS)"}
        << "o0o"
        << "R";
    QTest::newRow("G2 defaults") << "G2"
                                 << "optR3"
                                 << "optS1"
                                 << QStringList{"Conductivity values (mS)", "Z parameters (kOhm)",
                                                "Y parameters (mS)"}
                                 << "0o0"
                                 << "G";
    QTest::newRow("NONE plain units")
        << "NONE"
        << "optR2"
        << "optS2"
        << QStringList{"Conductivity values (S)", "Z parameters (Ohm)", "Y parameters (S)"} << "000"
        << "G";
    QTest::newRow("R1R2R3 milliohm")
        << "R1R2R3"
        << "optR1"
        << "optS2"
        << QStringList{"Resistor values (mOhm)", "Z parameters (mOhm)", "Y parameters (S)"} << "ooo"
        << "R";
}

void TestExercise::prepareSetsUpInputs()
{
    QFETCH(QString, schematic);
    QFETCH(QString, ohmOption);
    QFETCH(QString, siemensOption);
    QFETCH(QStringList, captions);
    QFETCH(QString, inputs);
    QFETCH(QString, letter);
    m_s->click("twoport_main", ohmOption);
    m_s->click("twoport_main", siemensOption);
    m_s->click("twoport_main", "btnExercise");
    m_s->click("exercise_main", schematic.toLower());
    QCOMPARE(m_s->state().schemName(), schematic);
    QCOMPARE(m_s->state().windowStates(), qint16(12));
    QCOMPARE(m_s->control<PictureBox>(calc, "picSchem")->pictureName(), "TEST" + schematic);
    QCOMPARE(m_s->control(calc, "picSchem")->geometry(), QRect(24, 32, 145, 89));
    QCOMPARE(m_s->control<QGroupBox>(calc, "frmInput")->title(), captions[0]);
    QCOMPARE(m_s->control<QGroupBox>(calc, "frmZ")->title(), captions[1]);
    QCOMPARE(m_s->control<QGroupBox>(calc, "frmY")->title(), captions[2]);
    for (int k = 0; k < 3; ++k) {
        const bool open = inputs[k] == 'o';
        auto *box = m_s->control<QLineEdit>(calc, QStringLiteral("val%1").arg(k + 1));
        auto *label = m_s->control<QLabel>(calc, QStringLiteral("in%1").arg(k + 1));
        QCOMPARE(box->isEnabled(), open);
        QCOMPARE(box->text(), open ? QString() : QStringLiteral("0"));
        QCOMPARE(label->text(), letter + QString::number(k + 1));
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 open ? QColor(Qt::black) : QColor(200, 200, 200));
    }
    QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
}

void TestExercise::calculates_data()
{
    QTest::addColumn<QString>("schematic");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("z");
    QTest::addColumn<QStringList>("y");
    const QStringList empty{"", "", "", ""};
    QTest::newRow("R1R2R3") << "R1R2R3" << QStringList{"1", "2", "3"}
                            << QStringList{"3", "2", "2", "5"}
                            << QStringList{"0.454545454545455", "-0.181818181818182",
                                           "-0.181818181818182", "0.272727272727273"};
    QTest::newRow("G1G2G3") << "G1G2G3" << QStringList{"1", "2", "3"}
                            << QStringList{"0.454545454545455", "0.181818181818182",
                                           "0.181818181818182", "0.272727272727273"}
                            << QStringList{"3", "-2", "-2", "5"};
    QTest::newRow("NONE") << "NONE" << QStringList{} << empty << QStringList{"0", "0", "0", "0"};
    QTest::newRow("G2") << "G2" << QStringList{"0", "4"} << empty
                        << QStringList{"4", "-4", "-4", "4"};
    QTest::newRow("R1") << "R1" << QStringList{"2.5"} << QStringList{"2.5", "0", "0", "0"} << empty;
    QTest::newRow("R3") << "R3" << QStringList{"0", "0", "7"} << QStringList{"0", "0", "0", "7"}
                        << empty;
    QTest::newRow("R1R3") << "R1R3" << QStringList{"2", "0", "4"} << QStringList{"2", "0", "0", "4"}
                          << QStringList{"0.5", "0", "0", "0.25"};
    QTest::newRow("G2G3") << "G2G3" << QStringList{"0", "1", "1"} << QStringList{"2", "1", "1", "1"}
                          << QStringList{"1", "-1", "-1", "2"};
}

void TestExercise::calculates()
{
    QFETCH(QString, schematic);
    QFETCH(QStringList, values);
    QFETCH(QStringList, z);
    QFETCH(QStringList, y);
    m_s->click("twoport_main", "btnExercise");
    m_s->click("exercise_main", schematic.toLower());
    m_s->fill(values);
    m_s->calculate();
    expectNoBox();
    QCOMPARE(texts(zBoxes), z);
    QCOMPARE(texts(yBoxes), y);
    const Schematic *s = schematicByNumber(m_s->state().schemNumber());
    QCOMPARE(QLatin1String(s->name), schematic);
    QCOMPARE(m_s->control(calc, "frmZ")->isEnabled(), s->zExists());
    QCOMPARE(m_s->control(calc, "frmY")->isEnabled(), s->yExists());
    QCOMPARE(m_s->state().zExists(), qint16(s->zExists() ? 1 : 0));
    QCOMPARE(m_s->state().yExists(), qint16(s->yExists() ? 1 : 0));
    if (s->zExists())
        QCOMPARE(kvadra::writeNumber(m_s->state().pz22()), z[3]);
    if (s->yExists())
        QCOMPARE(kvadra::writeNumber(m_s->state().py11()), y[0]);
    QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
}

void TestExercise::failureKeepsWhatItMust_data()
{
    QTest::addColumn<QString>("schematic");
    QTest::addColumn<QStringList>("good");
    QTest::addColumn<QStringList>("bad");
    QTest::addColumn<bool>("newY");
    // Conductance family: the direct Y runs first and stays; the inversion for Z fails.
    QTest::newRow("G1G2 G1=0") << "G1G2" << QStringList{"1", "2"} << QStringList{"0", "5"} << true;
    // Resistance family: the inversion is the Y procedure, which runs first.
    QTest::newRow("R1R2 R2=0") << "R1R2" << QStringList{"1", "2"} << QStringList{"3", "0"} << false;
    QTest::newRow("cancelling") << "R1R2R3" << QStringList{"1", "2", "3"}
                                << QStringList{"1", "1", "-0.5"} << false;
    QTest::newRow("overflow") << "R1R2R3" << QStringList{"1", "2", "3"}
                              << QStringList{"1e306", "1", "1"} << false;
    QTest::newRow("unreadable") << "G1G2G3" << QStringList{"1", "2", "3"}
                                << QStringList{"1", "x", "3"} << false;
    QTest::newRow("empty") << "G1G3" << QStringList{"1", "0", "3"} << QStringList{"", "0", "3"}
                           << false;
}

void TestExercise::failureKeepsWhatItMust()
{
    QFETCH(QString, schematic);
    QFETCH(QStringList, good);
    QFETCH(QStringList, bad);
    QFETCH(bool, newY);
    m_s->exercise(schematic, good);
    expectNoBox();
    const QStringList zBefore = texts(zBoxes), yBefore = texts(yBoxes);
    const double pz11 = m_s->state().pz11(), py11 = m_s->state().py11();
    m_s->fill(bad);
    m_s->boxes().answer(QMessageBox::Ok);
    m_s->calculate();
    expectErrorBox();
    QCOMPARE(texts(zBoxes), zBefore);
    QCOMPARE(m_s->state().pz11(), pz11);
    if (newY) {
        QCOMPARE(texts(yBoxes), (QStringList{"5", "-5", "-5", "5"}));
        QCOMPARE(m_s->state().py11(), 5.0);
    } else {
        QCOMPARE(texts(yBoxes), yBefore);
        QCOMPARE(m_s->state().py11(), py11);
    }
    QCOMPARE(m_s->state().zExists(), qint16(1));
    QCOMPARE(m_s->state().yExists(), qint16(1));
    QVERIFY(m_s->control(calc, "frmZ")->isEnabled());
}

void TestExercise::readsTypedValues_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // empty: the error message
    for (const char *loc : {"en_US", "de_DE"}) {
        const bool comma = QLatin1String(loc) == QLatin1String("de_DE");
        auto row = [&](const char *tag, const char *typed, const char *shown) {
            QString s = QLatin1String(shown);
            if (comma)
                s.replace('.', ',');
            QTest::addRow("%s %s", loc, tag) << QString(loc) << QString(typed) << s;
        };
        row("point", "1.5", "1.5");
        row("comma", "1,5", "1.5");
        row("thousands look", "1,000", "1");
        row("exponent", " 2.5e-3 ", "0.0025");
        row("two separators", "1.000,5", "");
        row("empty", "", "");
        row("letters", "abc", "");
        row("inf", "inf", "");
        row("nan", "nan", "");
        row("too large", "1e999", "");
        row("non-ASCII", "\u00bd", "");
    }
}

void TestExercise::readsTypedValues()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(locale));
    if (shown.isEmpty())
        m_s->boxes().answer(QMessageBox::Ok);
    m_s->exercise("R1", {typed});
    if (shown.isEmpty()) {
        expectErrorBox();
        QCOMPARE(m_s->text(calc, "z11"), QString());
    } else {
        expectNoBox();
        QCOMPARE(m_s->text(calc, "z11"), shown);
    }
}

void TestExercise::focusSelectsAll()
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
    QCOMPARE(val2->selectionStart(), 0);
}

void TestExercise::unitChangeBetweenExercises()
{
    m_s->exercise("R1R2R3", {"1", "2", "3"});
    QCOMPARE(m_s->text(calc, "z22"), QStringLiteral("5"));
    // Locked while the tool is open.
    m_s->click("twoport_main", "btnExercise");
    QVERIFY(!m_s->control("twoport_main", "frameRes")->isEnabled());
    m_s->window("exercise_main")->close();
    QVERIFY(!m_s->control("twoport_main", "frameRes")->isEnabled());
    QCOMPARE(m_s->state().currentMode(), qint16(1));
    m_s->window(calc)->close();
    QCOMPARE(m_s->state().currentMode(), qint16(0));
    m_s->click("twoport_main", "optR2");
    m_s->click("twoport_main", "optS2");
    m_s->exercise("R1R2R3", {"1", "2", "3"});
    QCOMPARE(m_s->control<QGroupBox>(calc, "frmZ")->title(), QStringLiteral("Z parameters (Ohm)"));
    QCOMPARE(m_s->control<QGroupBox>(calc, "frmY")->title(), QStringLiteral("Y parameters (S)"));
    QCOMPARE(texts(zBoxes), (QStringList{"3", "2", "2", "5"}));
    QCOMPARE(texts(yBoxes), (QStringList{"0.454545454545455", "-0.181818181818182",
                                         "-0.181818181818182", "0.272727272727273"}));
}

void TestExercise::secondSchematicStartsAfresh()
{
    m_s->exercise("G1G2G3", {"1", "2", "3"});
    m_s->click("exercise_main", "r1");
    QCOMPARE(m_s->state().schemNumber(), qint16(9));
    QCOMPARE(m_s->state().schemName(), QStringLiteral("R1"));
    QCOMPARE(texts(zBoxes), (QStringList{"", "", "", ""}));
    QCOMPARE(texts(yBoxes), (QStringList{"", "", "", ""}));
    QCOMPARE(m_s->text(calc, "val1"), QString());
    QCOMPARE(m_s->text(calc, "val2"), QStringLiteral("0"));
    // The stored matrices survive the set-up until the next calculation.
    QCOMPARE(m_s->state().py11(), 3.0);
    QVERIFY(m_s->control(calc, "frmY")->isEnabled());
    m_s->type(calc, "val1", "4");
    m_s->calculate();
    QVERIFY(!m_s->control(calc, "frmY")->isEnabled());
    QCOMPARE(m_s->text(calc, "y11"), QString());
    QCOMPARE(m_s->state().py11(), 3.0);
    QCOMPARE(m_s->state().yExists(), qint16(0));
    QCOMPARE(m_s->window("exercise_main")->isVisible(), true);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestExercise test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_exercise.moc"
