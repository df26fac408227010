#include "shell/application.h"
#include "shell/messagebox.h"
#include "shell/toolwindow.h"
#include "shell/twoportmain.h"
#include "support/messageboxanswerer.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
// A tool window with nothing but its weight, to exercise the lock without a real tool.
class WeightWindow : public ToolWindow
{
public:
    WeightWindow(TwoportMain &main, const char *name, qint16 weight)
        : ToolWindow(main, name, weight)
    {
    }
};
} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpSelectsDefaults();
    void layoutFigures_data();
    void layoutFigures();
    void kiloOptionsStayDisabled();
    void optionsStorePowers_data();
    void optionsStorePowers();
    void getPrefix_data();
    void getPrefix();
    void lockFollowsOpenToolWindows();
    void aboutIsSingleAndOutsideTheLock();
    void aboutClosesByKeys_data();
    void aboutClosesByKeys();
    void closingMainClosesEverything();
    void unloadAllFormsIgnoresExactName();
    void messageBoxStyles_data();
    void messageBoxStyles();

private:
    template <typename T> T *find(const char *name) const
    {
        T *w = m_main->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void addWeightWindow(const char *name, qint16 weight)
    {
        m_main->windows().addFactory(QLatin1String(name), [this, name, weight] {
            return new WeightWindow(*m_main, name, weight);
        });
    }

    std::unique_ptr<TwoportMain> m_main;
};

void TestShell::init()
{
    m_main = std::make_unique<TwoportMain>();
    m_main->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
}

void TestShell::cleanup()
{
    m_main.reset();
}

void TestShell::startUpSelectsDefaults()
{
    const SharedState &s = m_main->state();
    QCOMPARE(s.voltDisplay(), qint16(0));
    QCOMPARE(s.ampereDisplay(), qint16(-3));
    QCOMPARE(s.ohmDisplay(), qint16(3));
    QCOMPARE(s.siemensDisplay(), qint16(-3));
    QCOMPARE(s.windowStates(), qint16(0));
    QCOMPARE(s.currentMode(), qint16(0));
    for (const char *name : {"optV2", "optA1", "optR3", "optS1"})
        QVERIFY2(find<QRadioButton>(name)->isChecked(), name);
    for (const char *name : {"frameVol", "frameCur", "frameRes", "frameCon"})
        QVERIFY(find<QGroupBox>(name)->isEnabled());
    QCOMPARE(m_main->windows().openWindows(), QStringList{"twoport_main"});
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Kvadra"));
    QCOMPARE(m_main->centralWidget()->size(), QSize(426, 224));
    QCOMPARE(m_main->minimumSize(), m_main->maximumSize());
}

void TestShell::layoutFigures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("tools") << "frameTools"
                           << "Tools" << QRect(8, 8, 409, 65);
    QTest::newRow("exercise") << "btnExercise"
                              << "Excercise solver" << QRect(8, 24, 121, 25);
    QTest::newRow("test") << "btnTest"
                          << "Test solver" << QRect(144, 24, 121, 25);
    QTest::newRow("lab") << "Command1"
                         << "Lab helper" << QRect(280, 24, 121, 25);
    QTest::newRow("units") << "frameUnits"
                           << "Unit settings" << QRect(8, 80, 409, 137);
    QTest::newRow("vol") << "frameVol"
                         << "Voltage" << QRect(8, 24, 185, 41);
    QTest::newRow("cur") << "frameCur"
                         << "Current" << QRect(216, 24, 185, 41);
    QTest::newRow("res") << "frameRes"
                         << "Resistance" << QRect(8, 80, 185, 41);
    QTest::newRow("con") << "frameCon"
                         << "Conductivity" << QRect(216, 80, 185, 41);
    QTest::newRow("mV") << "optV1"
                        << "mV" << QRect(8, 16, 57, 17);
    QTest::newRow("A") << "optA2"
                       << "A" << QRect(72, 16, 49, 17);
    QTest::newRow("kOhm") << "optR3"
                          << "kOhm" << QRect(128, 16, 49, 17);
    QTest::newRow("kS") << "optS3"
                        << "kS" << QRect(128, 16, 49, 17);
}

void TestShell::layoutFigures()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QWidget *w = m_main->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), geometry);
    if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        QCOMPARE(frame->title(), text);
        QVERIFY(frame->font().bold());
    } else {
        QCOMPARE(qobject_cast<QAbstractButton *>(w)->text(), text);
        QVERIFY(!w->font().bold());
    }
}

void TestShell::kiloOptionsStayDisabled()
{
    addWeightWindow("exercise_main", 4);
    m_main->windows().show(QStringLiteral("exercise_main"));
    m_main->windows().close(QStringLiteral("exercise_main"));
    for (const char *name : {"optV3", "optA3", "optS3"}) {
        QRadioButton *option = find<QRadioButton>(name);
        QVERIFY(!option->isEnabled());
        QTest::mouseClick(option, Qt::LeftButton);
        QVERIFY(!option->isChecked());
    }
    QVERIFY(find<QRadioButton>("optR3")->isEnabled());
}

void TestShell::optionsStorePowers_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("volt");
    QTest::addColumn<int>("ampere");
    QTest::addColumn<int>("ohm");
    QTest::addColumn<int>("siemens");
    QTest::newRow("mV") << "optV1" << -3 << -3 << 3 << -3;
    QTest::newRow("A") << "optA2" << 0 << 0 << 3 << -3;
    QTest::newRow("mOhm") << "optR1" << 0 << -3 << -3 << -3;
    QTest::newRow("Ohm") << "optR2" << 0 << -3 << 0 << -3;
    QTest::newRow("S") << "optS2" << 0 << -3 << 3 << 0;
}

void TestShell::optionsStorePowers()
{
    QFETCH(QString, option);
    QFETCH(int, volt);
    QFETCH(int, ampere);
    QFETCH(int, ohm);
    QFETCH(int, siemens);
    auto *button = m_main->findChild<QRadioButton *>(option);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->isChecked());
    const SharedState &s = m_main->state();
    QCOMPARE(int(s.voltDisplay()), volt);
    QCOMPARE(int(s.ampereDisplay()), ampere);
    QCOMPARE(int(s.ohmDisplay()), ohm);
    QCOMPARE(int(s.siemensDisplay()), siemens);
}

void TestShell::getPrefix_data()
{
    QTest::addColumn<int>("power");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("milli") << -3 << "m";
    QTest::newRow("base") << 0 << "";
    QTest::newRow("kilo") << 3 << "k";
    QTest::newRow("mega") << 6 << "";
    QTest::newRow("micro") << -6 << "";
}

void TestShell::getPrefix()
{
    QFETCH(int, power);
    QFETCH(QString, prefix);
    const qint16 p = qint16(power);
    QCOMPARE(m_main->getPrefix(p), prefix);
}

void TestShell::lockFollowsOpenToolWindows()
{
    struct Step {
        const char *name;
        bool open;
        int windowStates;
    };
    addWeightWindow("lab_selectelement", 1);
    addWeightWindow("exercise_main", 4);
    addWeightWindow("exercise_calc", 8);
    m_main->state().setCurrentMode(1);
    const Step steps[] = {
        {"exercise_main", true, 4},      {"exercise_calc", true, 12}, {"exercise_main", true, 12},
        {"lab_selectelement", true, 13}, {"exercise_main", false, 9}, {"exercise_calc", false, 1},
        {"lab_selectelement", false, 0},
    };
    QRadioButton *mOhm = find<QRadioButton>("optR1");
    for (const Step &step : steps) {
        const QString name = QLatin1String(step.name);
        if (step.open)
            m_main->windows().show(name);
        else
            m_main->windows().close(name);
        QCOMPARE(int(m_main->state().windowStates()), step.windowStates);
        const bool locked = step.windowStates != 0;
        for (const char *frame : {"frameVol", "frameCur", "frameRes", "frameCon"})
            QCOMPARE(find<QGroupBox>(frame)->isEnabled(), !locked);
        // The flow ends only when the last tool window has gone.
        QCOMPARE(int(m_main->state().currentMode()), locked ? 1 : 0);
        QTest::mouseClick(mOhm, Qt::LeftButton);
        QCOMPARE(int(m_main->state().ohmDisplay()), locked ? 3 : -3);
    }
    QVERIFY(find<QRadioButton>("optR1")->isChecked());
}

void TestShell::aboutIsSingleAndOutsideTheLock()
{
    QAction *about = m_main->findChild<QAction *>(QStringLiteral("menuAbout"));
    QVERIFY(about);
    QCOMPARE(about->text(), QStringLiteral("About"));
    QVERIFY(!about->menu());
    about->trigger();
    QWidget *window = m_main->windows().window(QStringLiteral("frmAbout"));
    QVERIFY(window);
    about->trigger();
    QCOMPARE(m_main->windows().window(QStringLiteral("frmAbout")), window);
    QCOMPARE(m_main->windows().openWindows(), (QStringList{"twoport_main", "frmAbout"}));
    QCOMPARE(window->windowTitle(), QStringLiteral("About Kvadra"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 1.1.1"));
    QCOMPARE(window->size(), QSize(294, 206));
    QVERIFY(window->findChild<QLineEdit *>(QStringLiteral("Text1"))->isReadOnly());
    QCOMPARE(m_main->state().windowStates(), qint16(0));
    QVERIFY(find<QGroupBox>("frameRes")->isEnabled());

    QPointer<QWidget> guard(window);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!m_main->windows().isOpen(QStringLiteral("frmAbout")));
    QTRY_VERIFY(guard.isNull());
    QVERIFY(find<QGroupBox>("frameRes")->isEnabled());
}

void TestShell::aboutClosesByKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("enter") << int(Qt::Key_Return);
}

void TestShell::aboutClosesByKeys()
{
    QFETCH(int, key);
    QWidget *window = m_main->windows().show(QStringLiteral("frmAbout"));
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key(key));
    QVERIFY(!m_main->windows().isOpen(QStringLiteral("frmAbout")));
}

void TestShell::closingMainClosesEverything()
{
    addWeightWindow("lab_selectelement", 1);
    addWeightWindow("exercise_main", 4);
    QList<QPointer<QWidget>> windows;
    for (const char *name : {"exercise_main", "frmAbout", "lab_selectelement"})
        windows << m_main->windows().show(QLatin1String(name));
    QCOMPARE(m_main->state().windowStates(), qint16(5));
    QVERIFY(m_main->close());
    QVERIFY(m_main->windows().openWindows().isEmpty());
    // Every tool window ran its unload step on the way out.
    QCOMPARE(m_main->state().windowStates(), qint16(0));
    for (const QPointer<QWidget> &w : windows)
        QTRY_VERIFY(w.isNull());
}

void TestShell::unloadAllFormsIgnoresExactName()
{
    addWeightWindow("exercise_main", 4);
    m_main->windows().show(QStringLiteral("exercise_main"));
    m_main->windows().show(QStringLiteral("frmAbout"));
    m_main->UnloadAllForms(QStringLiteral("Exercise_main"));
    QCOMPARE(m_main->windows().openWindows(), QStringList());
    QVERIFY(!m_main->isVisible());
}

void TestShell::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::newRow("4 yes") << 4 << int(QMessageBox::Yes) << int(QMessageBox::NoIcon)
                           << int(QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("4 no") << 4 << int(QMessageBox::No) << int(QMessageBox::NoIcon)
                          << int(QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("48") << 48 << int(QMessageBox::Ok) << int(QMessageBox::Warning)
                        << int(QMessageBox::Ok);
    QTest::newRow("64") << 64 << int(QMessageBox::Ok) << int(QMessageBox::Information)
                        << int(QMessageBox::Ok);
}

void TestShell::messageBoxStyles()
{
    QFETCH(int, style);
    QFETCH(int, press);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    MessageBoxAnswerer answerer;
    answerer.answer(QMessageBox::StandardButton(press));
    const auto pressed = messageBox(m_main.get(), QStringLiteral("Hello"), BoxStyle(style));
    QCOMPARE(int(pressed), press);
    const auto boxes = answerer.takeBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Kvadra"));
    QCOMPARE(boxes[0].text, QStringLiteral("Hello"));
    QCOMPARE(int(boxes[0].icon), icon);
    QCOMPARE(int(boxes[0].buttons), buttons);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
