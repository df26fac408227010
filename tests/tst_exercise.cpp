#include "resources/pictures.h"
#include "support/session.h"
#include "twoport/catalogue.h"

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
const QStringList none{"", "", "", ""};
const QString calc = QStringLiteral("exercise_calc");
const QStringList errorMessage{"An error occured! Check your input data."};

// "… = 0.5 kOhm" gives "0.5".
QString lastNumber(const QString &tip) { return tip.section(" = ", -1).section(' ', 0, 0); }
} // namespace

class TestExercise : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    void windows()
    {
        m_s->click("twoport_main", "btnExercise");
        QCOMPARE(m_s->state().currentMode(), qint16(1));
        QCOMPARE(m_s->state().windowStates(), qint16(4));
        QWidget *w = m_s->window("exercise_main");
        QCOMPARE(w->windowTitle(), QStringLiteral("Schematic selection"));
        QCOMPARE(w->size(), QSize(668, 481));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        m_s->click("exercise_main", "r1");
        QCOMPARE(m_s->window(calc)->size(), QSize(467, 298));
    }

    void captionsFollowFamilyAndUnits_data()
    {
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("captions"); // frmInput, frmZ, frmY
        const char *rows[][3] = {
            {"R1R3", "", "Resistor values (kOhm)|Z parameters (kOhm)|Y parameters (mS)"},
            {"G2", "", "Conductivity values (mS)|Z parameters (kOhm)|Y parameters (mS)"},
            {"NONE", "optR2 optS2", "Conductivity values (S)|Z parameters (Ohm)|Y parameters (S)"},
            {"R1R2R3", "optR1 optS2",
             "Resistor values (mOhm)|Z parameters (mOhm)|Y parameters (S)"}};
        for (const auto &[schematic, options, captions] : rows)
            QTest::newRow(schematic)
                << QString(schematic) << QString(options).split(' ', Qt::SkipEmptyParts)
                << QString(captions).split('|');
    }
    void captionsFollowFamilyAndUnits()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, options);
        QFETCH(QStringList, captions);
        for (const QString &option : options)
            m_s->click("twoport_main", option);
        m_s->click("twoport_main", "btnExercise");
        m_s->click("exercise_main", schematic.toLower());
        QCOMPARE(m_s->state().schemName(), schematic);
        QCOMPARE(m_s->state().windowStates(), qint16(12));
        QCOMPARE(m_s->control<PictureBox>(calc, "picSchem")->pictureName(), "TEST" + schematic);
        QStringList shown;
        for (const char *frame : {"frmInput", "frmZ", "frmY"})
            shown << m_s->control<QGroupBox>(calc, frame)->title();
        QCOMPARE(shown, captions);
        for (int k = 0; k < 3; ++k) {
            // Only the boxes of the elements the schematic has are open.
            const bool open = schematic.contains(QString::number(k + 1));
            auto *box = m_s->control<QLineEdit>(calc, QStringLiteral("val%1").arg(k + 1));
            auto *label = m_s->control<QLabel>(calc, QStringLiteral("in%1").arg(k + 1));
            QCOMPARE(box->isEnabled(), open);
            QCOMPARE(box->text(), open ? QString() : QStringLiteral("0"));
            const QString letter = captions[0].startsWith("Resistor") ? "R" : "G";
            QCOMPARE(label->text(), letter + QString::number(k + 1));
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     open ? QColor(Qt::black) : QColor(200, 200, 200));
        }
        QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
    }

    // One row for each kind of catalogue entry: both matrices by either family, Y or Z alone,
    // and an inversion with a missing element.
    void calculates_data()
    {
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("z");
        QTest::addColumn<QStringList>("y");
        const char *rows[][4] = {
            {"R1R2R3", "1 2 3", "3 2 2 5",
             "0.454545454545455 -0.181818181818182 -0.181818181818182 0.272727272727273"},
            {"G1G2G3", "1 2 3",
             "0.454545454545455 0.181818181818182 0.181818181818182 0.272727272727273",
             "3 -2 -2 5"},
            {"NONE", "", "", "0 0 0 0"},
            {"R1", "2.5", "2.5 0 0 0", ""},
            {"R1R3", "2 0 4", "2 0 0 4", "0.5 0 0 0.25"},
            {"G2G3", "0 1 1", "2 1 1 1", "1 -1 -1 2"}};
        // Space-separated texts; an empty matrix has four empty boxes.
        auto split = [](const char *t, bool boxes) {
            return *t || !boxes ? QString(t).split(' ', Qt::SkipEmptyParts) : none;
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << split(row[1], false) << split(row[2], true)
                                  << split(row[3], true);
    }
    void calculates()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QFETCH(QStringList, z);
        QFETCH(QStringList, y);
        m_s->exercise(schematic, values);
        QCOMPARE(m_s->messages(), QStringList());
        QCOMPARE(m_s->texts(calc, zBoxes), z);
        QCOMPARE(m_s->texts(calc, yBoxes), y);
        QCOMPARE(m_s->control(calc, "frmZ")->isEnabled(), z != none);
        QCOMPARE(m_s->control(calc, "frmY")->isEnabled(), y != none);
        QCOMPARE(QList<qint16>({m_s->state().zExists(), m_s->state().yExists()}),
                 QList<qint16>({z != none, y != none}));
        QVERIFY(!m_s->control(calc, "cmdContinue")->isEnabled());
    }

    void failureKeepsWhatItMust_data()
    {
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QStringList>("bad");
        QTest::addColumn<bool>("newY");
        // Conductance family: the direct Y runs first and stays; the inversion for Z fails.
        QTest::newRow("G1G2 G1=0") << "G1G2" << QStringList{"0", "5"} << true;
        // Resistance family: the inversion is the Y procedure, which runs first.
        QTest::newRow("R1R2 R2=0") << "R1R2" << QStringList{"3", "0"} << false;
        QTest::newRow("unreadable") << "G1G2" << QStringList{"1", "x"} << false;
    }
    void failureKeepsWhatItMust()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, bad);
        QFETCH(bool, newY);
        m_s->exercise(schematic, {"1", "2"});
        const QStringList zBefore = m_s->texts(calc, zBoxes), yBefore = m_s->texts(calc, yBoxes);
        const double pz11 = m_s->state().pz11(), py11 = m_s->state().py11();
        m_s->fill(bad);
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->calculate();
        QCOMPARE(m_s->messages(), errorMessage);
        QCOMPARE(m_s->texts(calc, zBoxes), zBefore);
        QCOMPARE(m_s->state().pz11(), pz11);
        QCOMPARE(m_s->texts(calc, yBoxes), (newY ? QStringList{"5", "-5", "-5", "5"} : yBefore));
        QCOMPARE(m_s->state().py11(), newY ? 5.0 : py11);
        QVERIFY(m_s->control(calc, "frmZ")->isEnabled() && m_s->state().zExists());
        // The working shown is that of the numbers shown, old or new.
        for (const QString &name : zBoxes + yBoxes)
            QCOMPARE(lastNumber(m_s->control(calc, name)->toolTip()), m_s->text(calc, name));
        if (newY) {
            QVERIFY(m_s->control(calc, "y11")->toolTip().contains("0 mS + 5 mS"));
            QVERIFY(m_s->control(calc, "z11")->toolTip().contains("Δ = G3·G1 + G1·G2 + G3·G2"));
        }
    }

    void calculatorExplainsEveryBox_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("units");
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QStringList>("values");
        // Schematic, values typed (0 for an absent element), locale, in Ohm and S or not.
        const std::tuple<const char *, const char *, const char *, bool> rows[] = {
            {"G1", "2.5", "C", false},         {"G1G2G3", "1 2 3", "C", false},
            {"R3", "0 0 7", "C", true},        {"R1R2R3", "1 2 3", "C", true},
            {"G2G3", "0 0,5 1,25", "de_DE", true}, {"R1R3", "2 0 4,5", "de_DE", false}};
        for (const auto &[schematic, values, locale, plain] : rows)
            QTest::addRow("%s %s", schematic, locale)
                << QString(locale) << (plain ? QStringList{"optR2", "optS2"} : QStringList())
                << QString(schematic) << QString(values).split(' ');
    }

    void calculatorExplainsEveryBox()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, units);
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QLocale::setDefault(QLocale(locale));
        for (const QString &option : units)
            m_s->click("twoport_main", option);
        m_s->exercise(schematic, values);
        QCOMPARE(m_s->boxes().takeBoxes().size(), 0);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(m_s->window(calc), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith("Schematic " + schematic));
        for (const QString &name : zBoxes + yBoxes) {
            auto *box = m_s->control<QLineEdit>(calc, name);
            if (box->text().isEmpty()) {
                QVERIFY(box->toolTip().isEmpty());
                continue;
            }
            QCOMPARE(lastNumber(box->toolTip()), box->text());
            QCOMPARE(box->accessibleDescription(), box->toolTip());
            QVERIFY2(copied.contains(name + " = " + box->text()), qPrintable(copied));
            // Every typed value appears, with its unit, where its element does.
            for (int k = 0; k < values.size(); ++k) {
                const QString element = schematic.left(1) + QString::number(k + 1);
                if (box->toolTip().section('\n', -1).section(" = ", 1, 1).contains(element))
                    QVERIFY2(box->toolTip().contains(values[k] + ' '), qPrintable(box->toolTip()));
            }
        }
        for (const char *frame : {"frmZ", "frmY"}) {
            auto *f = m_s->control<QGroupBox>(calc, frame);
            QCOMPARE(f->toolTip().isEmpty(), f->isEnabled());
            QVERIFY(copied.contains(QString(frame).mid(3) + " parameters"));
            if (!f->isEnabled())
                QVERIFY(copied.contains("does not exist"));
        }
    }

    void readsTypedValues_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // with a point for the locale's separator; empty: the
                                            // error message
        const std::pair<const char *, const char *> rows[] = {
            {"1.5", "1.5"},  {"1,5", "1.5"}, {"1,000", "1"}, {" 2.5e-3 ", "0.0025"},
            {"1.000,5", ""}, {"", ""},       {"inf", ""},    {"1e999", ""}};
        for (const char *loc : {"en_US", "de_DE"})
            for (const auto &[typed, shown] : rows)
                QTest::addRow("%s '%s'", loc, qPrintable(QString(typed)))
                    << QString(loc) << QString(typed) << QString(shown);
    }
    void readsTypedValues()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        shown.replace('.', QLocale().decimalPoint());
        if (shown.isEmpty())
            m_s->boxes().answer(QMessageBox::Ok);
        m_s->exercise("R1", {typed});
        QCOMPARE(m_s->messages(), shown.isEmpty() ? errorMessage : QStringList());
        QCOMPARE(m_s->text(calc, "z11"), shown);
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
        QVERIFY(!m_s->control("twoport_main", "frameRes")->isEnabled());
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
