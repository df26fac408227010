#include "shell/twoportmain.h"

#include "shell/aboutwindow.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace kvadra
{

TwoportMain::TwoportMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QLatin1String(Name));
    setWindowTitle(applicationTitle());
    setUpWindow(this, true, true);

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
    const struct {
        const char *name, *caption;
        int x;
        void (TwoportMain::*handler)();
    } launchers[] = {{"btnExercise", "Excercise solver", 120, &TwoportMain::onExercise},
                     {"btnTest", "Test solver", 2160, &TwoportMain::onTest},
                     {"Command1", "Lab helper", 4200, &TwoportMain::onLab}};
    for (const auto &l : launchers)
        connect(makeButton(tools, l.name, QLatin1String(l.caption), tw(l.x), tw(360), tw(1815),
                           tw(375)),
                &QPushButton::clicked, this, l.handler);

    buildUnits(makeFrame(client, "frameUnits", QStringLiteral("Unit settings"), tw(120), tw(1200),
                         tw(6135), tw(2055)));
}

TwoportMain::~TwoportMain() = default;

void TwoportMain::buildUnits(QWidget *units)
{
    const struct {
        const char *name, *caption;
        int x, y;
        void (SharedState::*store)(qint16);
        const char *options[3][2]; // name and caption: milli, base unit, kilo
        bool kiloOffered;
        int startOption; // selected at start
    } frames[] = {
        // clang-format off
        {"frameVol", "Voltage", 120, 360, &SharedState::setVoltDisplay,
         {{"optV1", "mV"}, {"optV2", "V"}, {"optV3", "kV"}}, false, 1},
        {"frameCur", "Current", 3240, 360, &SharedState::setAmpereDisplay,
         {{"optA1", "mA"}, {"optA2", "A"}, {"optA3", "kA"}}, false, 0},
        {"frameRes", "Resistance", 120, 1200, &SharedState::setOhmDisplay,
         {{"optR1", "mOhm"}, {"optR2", "Ohm"}, {"optR3", "kOhm"}}, true, 2},
        {"frameCon", "Conductivity", 3240, 1200, &SharedState::setSiemensDisplay,
         {{"optS1", "mS"}, {"optS2", "S"}, {"optS3", "kS"}}, false, 0},
        // clang-format on
    };
    const int optionX[3] = {120, 1080, 1920}, optionW[3] = {855, 735, 735};
    const qint16 powers[3] = {-3, 0, 3};
    QRadioButton *start[4] = {};
    for (int f = 0; f < 4; ++f) {
        const auto &row = frames[f];
        QGroupBox *frame = makeFrame(units, row.name, QLatin1String(row.caption), tw(row.x),
                                     tw(row.y), tw(2775), tw(615));
        m_unitFrames[size_t(f)] = frame;
        for (int o = 0; o < 3; ++o) {
            QRadioButton *option =
                makeOption(frame, row.options[o][0], QLatin1String(row.options[o][1]),
                           tw(optionX[o]), tw(240), tw(optionW[o]), tw(255));
            if (o == row.startOption)
                start[f] = option;
            // Nothing ever enables a kilo option that is not offered.
            if (o == 2 && !row.kiloOffered) {
                option->setEnabled(false);
                continue;
            }
            // Tab enters a group at its selected option; the arrow keys move within the group.
            connect(option, &QRadioButton::toggled, option, [option](bool on) {
                if (on)
                    for (auto *sibling : option->parentWidget()->findChildren<QRadioButton *>())
                        sibling->setFocusPolicy(sibling == option ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
            });
            connect(option, &QRadioButton::toggled, this,
                    [this, store = row.store, power = powers[o]](bool on) {
                        if (on)
                            (m_state.*store)(power);
                    });
        }
    }
    // Selected at start in this order: conductance, current, voltage, resistance.
    m_startOptions = {start[3], start[1], start[0], start[2]};
}

void TwoportMain::start()
{
    m_windows.adopt(this);
}

void TwoportMain::load()
{
    m_state.setWindowStates(0);
    m_state.setCurrentMode(0);
    m_state.setSiemensDisplay(-3);
    m_state.setAmpereDisplay(-3);
    m_state.setVoltDisplay(0);
    m_state.setOhmDisplay(3);
    for (QRadioButton *option : m_startOptions) {
        // The click handler runs even when the option is already selected, as a click would.
        if (option->isChecked())
            emit option->toggled(true);
        else
            option->setChecked(true);
    }
}

void TwoportMain::unload()
{
    UnloadAllForms(objectName());
}

QString TwoportMain::getPrefix(const qint16 &power) const
{
    return unitPrefix(power);
}

void TwoportMain::disableUnits()
{
    for (QGroupBox *frame : m_unitFrames)
        frame->setEnabled(false);
}

void TwoportMain::enableUnits()
{
    if (m_state.windowStates() != 0)
        return;
    for (QGroupBox *frame : m_unitFrames)
        frame->setEnabled(true);
    m_state.setCurrentMode(0);
}

void TwoportMain::UnloadAllForms(const QString &FormToIgnore)
{
    for (const QString &name : m_windows.openWindows())
        if (name != FormToIgnore)
            m_windows.close(name);
}

void TwoportMain::onAbout()
{
    m_windows.show<AboutWindow>();
}

} // namespace kvadra
