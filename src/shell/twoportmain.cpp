#include "shell/twoportmain.h"

#include "exercise/exercisecalc.h"
#include "exercise/exercisemain.h"
#include "lab/labhelper.h"
#include "lab/labselectelement.h"
#include "shell/aboutwindow.h"
#include "shell/application.h"
#include "shell/messagebox.h"
#include "shell/widgets.h"
#include "testsolver/testgiveelement.h"

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

#include <functional>

namespace kvadra
{

TwoportMain::TwoportMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("twoport_main"));
    setWindowTitle(applicationTitle());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    QAction *about = menuBar()->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("menuAbout"));
    // The menu item has no mnemonic in its caption, so the keyboard reaches it by the help key.
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, &TwoportMain::onAbout);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(tw(6390), tw(3360));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *tools = makeFrame(client, "frameTools", QStringLiteral("Tools"), tw(120), tw(120),
                                 tw(6135), tw(975));
    QPushButton *exercise = makeButton(tools, "btnExercise", QStringLiteral("Excercise solver"),
                                       tw(120), tw(360), tw(1815), tw(375));
    QPushButton *test = makeButton(tools, "btnTest", QStringLiteral("Test solver"), tw(2160),
                                   tw(360), tw(1815), tw(375));
    connect(exercise, &QPushButton::clicked, this, &TwoportMain::onExercise);
    connect(test, &QPushButton::clicked, this, &TwoportMain::onTest);
    QPushButton *lab = makeButton(tools, "Command1", QStringLiteral("Lab helper"), tw(4200),
                                  tw(360), tw(1815), tw(375));
    connect(lab, &QPushButton::clicked, this, &TwoportMain::onLab);

    QGroupBox *units = makeFrame(client, "frameUnits", QStringLiteral("Unit settings"), tw(120),
                                 tw(1200), tw(6135), tw(2055));
    buildUnits(units);

    m_windows.addFactory(QStringLiteral("frmAbout"), [] { return new AboutWindow; });
    m_windows.addFactory(QStringLiteral("exercise_main"),
                         [this] { return new ExerciseMain(*this); });
    m_windows.addFactory(QStringLiteral("exercise_calc"),
                         [this] { return new ExerciseCalc(*this); });
    m_windows.addFactory(QStringLiteral("lab_selectelement"),
                         [this] { return new LabSelectElement(*this); });
    m_windows.addFactory(QStringLiteral("lab_helper"), [this] { return new LabHelper(*this); });
    m_windows.addFactory(QStringLiteral("test_giveelement"),
                         [this] { return new TestGiveElement(*this); });
}

TwoportMain::~TwoportMain() = default;

void TwoportMain::buildUnits(QWidget *units)
{
    struct OptionRow {
        const char *name;
        const char *caption;
        qint16 power;
        bool available;
    };
    struct FrameRow {
        const char *name;
        const char *caption;
        int x, y;
        void (SharedState::*store)(qint16);
        OptionRow options[3];
    };
    const FrameRow frames[] = {
        {"frameVol",
         "Voltage",
         120,
         360,
         &SharedState::setVoltDisplay,
         {{"optV1", "mV", -3, true}, {"optV2", "V", 0, true}, {"optV3", "kV", 3, false}}},
        {"frameCur",
         "Current",
         3240,
         360,
         &SharedState::setAmpereDisplay,
         {{"optA1", "mA", -3, true}, {"optA2", "A", 0, true}, {"optA3", "kA", 3, false}}},
        {"frameRes",
         "Resistance",
         120,
         1200,
         &SharedState::setOhmDisplay,
         {{"optR1", "mOhm", -3, true}, {"optR2", "Ohm", 0, true}, {"optR3", "kOhm", 3, true}}},
        {"frameCon",
         "Conductivity",
         3240,
         1200,
         &SharedState::setSiemensDisplay,
         {{"optS1", "mS", -3, true}, {"optS2", "S", 0, true}, {"optS3", "kS", 3, false}}},
    };
    // Left and width of the first, second and third option in every frame.
    const int optionX[3] = {120, 1080, 1920};
    const int optionW[3] = {855, 735, 735};

    QGroupBox **frameSlots[] = {&m_frameVol, &m_frameCur, &m_frameRes, &m_frameCon};
    for (int f = 0; f < 4; ++f) {
        const FrameRow &row = frames[f];
        QGroupBox *frame = makeFrame(units, row.name, QLatin1String(row.caption), tw(row.x),
                                     tw(row.y), tw(2775), tw(615));
        *frameSlots[f] = frame;
        for (int o = 0; o < 3; ++o) {
            const OptionRow &opt = row.options[o];
            QRadioButton *option = makeOption(frame, opt.name, QLatin1String(opt.caption),
                                              tw(optionX[o]), tw(240), tw(optionW[o]), tw(255));
            if (!opt.available) {
                // Kilo is offered for resistance only; nothing ever enables these.
                option->setEnabled(false);
                continue;
            }
            const auto store = row.store;
            const qint16 power = opt.power;
            connect(option, &QRadioButton::toggled, this, [this, store, power](bool on) {
                if (on)
                    (m_state.*store)(power);
            });
        }
    }
    m_optS1 = m_frameCon->findChild<QRadioButton *>(QStringLiteral("optS1"));
    m_optA1 = m_frameCur->findChild<QRadioButton *>(QStringLiteral("optA1"));
    m_optV2 = m_frameVol->findChild<QRadioButton *>(QStringLiteral("optV2"));
    m_optR3 = m_frameRes->findChild<QRadioButton *>(QStringLiteral("optR3"));
}

void TwoportMain::start()
{
    m_windows.adopt(this);
}

void TwoportMain::selectOption(QRadioButton *option)
{
    // The click handler runs even when the option is already selected, as a click would.
    if (option->isChecked())
        emit option->toggled(true);
    else
        option->setChecked(true);
}

void TwoportMain::load()
{
    m_state.setWindowStates(0);
    m_state.setCurrentMode(0);
    m_state.setSiemensDisplay(-3);
    m_state.setAmpereDisplay(-3);
    m_state.setVoltDisplay(0);
    m_state.setOhmDisplay(3);
    selectOption(m_optS1);
    selectOption(m_optA1);
    selectOption(m_optV2);
    selectOption(m_optR3);
}

void TwoportMain::unload()
{
    UnloadAllForms(objectName());
}

QString TwoportMain::getPrefix(const qint16 &power) const
{
    switch (power) {
    case -3:
        return QStringLiteral("m");
    case 3:
        return QStringLiteral("k");
    default:
        return QString();
    }
}

void TwoportMain::disableUnits()
{
    for (QGroupBox *frame : {m_frameVol, m_frameCur, m_frameRes, m_frameCon})
        frame->setEnabled(false);
}

void TwoportMain::enableUnits()
{
    if (m_state.windowStates() != 0)
        return;
    for (QGroupBox *frame : {m_frameVol, m_frameCur, m_frameRes, m_frameCon})
        frame->setEnabled(true);
    m_state.setCurrentMode(0);
}

void TwoportMain::UnloadAllForms(const QString &FormToIgnore)
{
    for (const QString &name : m_windows.openWindows())
        if (name != FormToIgnore)
            m_windows.close(name);
}

void TwoportMain::showSelection(const QString &caption)
{
    auto *selection = static_cast<ExerciseMain *>(m_windows.show(QStringLiteral("exercise_main")));
    selection->setCaption(caption);
}

void TwoportMain::onExercise()
{
    m_state.setCurrentMode(1);
    showSelection(QStringLiteral("Choose a schematic"));
}

void TwoportMain::onTest()
{
    if (m_state.currentMode() != 0) {
        const auto answer = messageBox(
            this,
            QStringLiteral("Note, that if there are unfinished calculations in Exercise solver, "
                           "they will be lost. Do you want to continue?"),
            BoxStyle::YesNo);
        if (answer != QMessageBox::Yes)
            return;
    }
    m_windows.close(QStringLiteral("test_giveelement"));
    m_windows.close(QStringLiteral("exercise_main"));
    m_windows.close(QStringLiteral("exercise_calc"));
    // After the closing, which may have ended the previous flow.
    m_state.setCurrentMode(2);
    m_state.setSchemCount(0);
    showSelection(QStringLiteral("Choose the INITIAL schematic"));
}

void TwoportMain::DrawCalc()
{
    auto *calc = static_cast<ExerciseCalc *>(m_windows.show(QStringLiteral("exercise_calc")));
    calc->prepare(m_state.schemNumber(), m_state.schemName(), getPrefix(m_state.ohmDisplay()),
                  getPrefix(m_state.siemensDisplay()));
}

void TwoportMain::ContinueExercise()
{
    DrawCalc();
}

void TwoportMain::ContinueTest()
{
    DrawCalc();
}

void TwoportMain::TestInProgress()
{
    const qint16 count = m_state.schemCount();
    if (count < 5) {
        const bool z = m_state.zExists() == 1;
        const bool y = m_state.yExists() == 1;
        const std::array<double, 4> zValues{m_state.pz11(), m_state.pz12(), m_state.pz21(),
                                            m_state.pz22()};
        const std::array<double, 4> yValues{m_state.py11(), m_state.py12(), m_state.py21(),
                                            m_state.py22()};
        if (count == 0) {
            m_test.initialZExists = z ? 1 : 0;
            if (z)
                m_test.initialZ = zValues;
            m_test.initialYExists = y ? 1 : 0;
            if (y)
                m_test.initialY = yValues;
        } else {
            const size_t k = size_t(count - 1);
            m_test.caseZExists[k] = z ? 1 : 0;
            if (z)
                std::copy(zValues.begin(), zValues.end(), m_test.caseZ.begin() + long(4 * k));
            m_test.caseYExists[k] = y ? 1 : 0;
            if (y)
                std::copy(yValues.begin(), yValues.end(), m_test.caseY.begin() + long(4 * k));
        }
    }
    const qint16 next = qint16(count + 1);
    m_state.setSchemCount(next);
    // The calculator is closed from inside its own Continue handler; its deletion is deferred.
    m_windows.close(QStringLiteral("exercise_main"));
    m_windows.close(QStringLiteral("exercise_calc"));
    if (next != 5) {
        m_state.setCurrentMode(2);
        showSelection(QStringLiteral("Choose the schematic for case (") +
                      QStringLiteral("ABCD").at(next - 1) + QStringLiteral(")"));
    } else {
        m_windows.show(QStringLiteral("test_giveelement"));
    }
}

void TwoportMain::CompareMatrices(const QVariant &myParam)
{
    const std::array<qint16, 4> answers = compareParameter(m_test, myParam.toInt());
    auto *window =
        static_cast<TestGiveElement *>(m_windows.window(QStringLiteral("test_giveelement")));
    if (!window)
        return;
    window->Achecked = answers[0];
    window->Bchecked = answers[1];
    window->Cchecked = answers[2];
    window->Dchecked = answers[3];
    window->CheckBoxes();
    const int code = myParam.toInt();
    const QString unit = code < 4 ? getPrefix(m_state.ohmDisplay()) + QStringLiteral("Ohm")
                                  : getPrefix(m_state.siemensDisplay()) + QStringLiteral("S");
    std::array<QString, 4> explanations;
    for (int k = 0; k < 4; ++k)
        explanations[size_t(k)] = compareExplanation(m_test, code, k, unit);
    window->explain(explanations);
}

void TwoportMain::onLab()
{
    m_windows.show(QStringLiteral("lab_selectelement"));
}

void TwoportMain::checkInput(const QString &val1, const QString &val2)
{
    const QString first = val1.toUpper();
    const QString second = val2.toUpper();
    if (first == QLatin1String("EASTER") && second == QLatin1String("EGG"))
        messageBox(this, QStringLiteral("Yes, it is."), BoxStyle::OkInformation);
    if (first == QLatin1String("BRUMO") && second == QLatin1String("TISK"))
        messageBox(this, QStringLiteral("God be with ye :-)"), BoxStyle::OkExclamation);
}

void TwoportMain::onAbout()
{
    m_windows.show(QStringLiteral("frmAbout"));
}

} // namespace kvadra
