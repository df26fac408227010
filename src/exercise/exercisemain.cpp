#include "exercise/exercisemain.h"

#include "exercise/ownnetwork.h"
#include "resources/picturewidgets.h"
#include "shell/appearance.h"
#include "shell/controls.h"
#include "shell/twoportmain.h"
#include "twoport/catalogue.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace kvadra
{

ExerciseMain::ExerciseMain(TwoportMain &main) : ToolWindow(main, Name, 4)
{
    setWindowTitle(QStringLiteral("Schematic selection"));
    setFixedWindow(this, tw(10020), tw(7215), false);

    m_frame = makeFrame(this, "frmGetSchem", QString(), tw(120), tw(120), tw(9735), tw(6975));
    fitTextToWidth(makeLabel(
        m_frame, "Label1",
        QStringLiteral("Please click on the schematic for which you want to obtain Z- and "
                       "Y-parameters:"),
        tw(120), tw(360), tw(5775), tw(375)));

    const int columns[] = {120, 2520, 4920, 7320};
    const int rows[] = {720, 2280, 3840, 5400};
    for (const Schematic &s : catalogue()) {
        const int cell = s.number - 1;
        auto *button = new PictureButton(s.pictureName(), m_frame);
        button->setObjectName(s.buttonName());
        button->setGeometry(tw(columns[cell % 4]), tw(rows[cell / 4]), tw(2295), tw(1455));
        button->setAutoDefault(false);
        const qint16 number = s.number;
        const QString name = QLatin1String(s.name);
        connect(button, &QPushButton::clicked, this,
                [this, number, name] { selectSchematic(number, name); });
    }
    // A way to any other network, in the free end of the frame's caption row: every control
    // of the selection stays where it is.
    m_own =
        makeButton(m_frame, "cmdOwnNetwork", QStringLiteral("Draw your own network…"), 0, 0, 0, 0);
    m_own->setFlat(true);
    m_own->setAutoDefault(false);
    QFont link = m_own->font();
    link.setUnderline(true);
    m_own->setFont(link);
    const int ownWidth = m_own->fontMetrics().horizontalAdvance(m_own->text()) +
                         2 * style()->pixelMetric(QStyle::PM_ButtonMargin);
    m_own->setGeometry(m_frame->width() - ownWidth - 2, 0, ownWidth, 17);
    m_own->setToolTip(QStringLiteral("Draw or type any resistive two-port, with controlled "
                                     "sources, and read all its parameter sets"));
    connect(m_own, &QPushButton::clicked, this,
            [this] { this->main().windows().show<OwnNetwork>(); });
}

void ExerciseMain::unload()
{
    // The own network is the exercise solver's too, and goes with it.
    main().windows().close<OwnNetwork>();
    ToolWindow::unload();
}

void ExerciseMain::setCaption(const QString &caption)
{
    m_frame->setTitle(caption);
    // A test is worked by hand; the own network is for exercises.
    m_own->setVisible(main().state().currentMode() != 2);
}

void ExerciseMain::selectSchematic(const qint16 &schematicNumber, const QString &schematicName)
{
    SharedState &s = main().state();
    s.setSchemNumber(schematicNumber);
    s.setSchemName(schematicName);
    if (s.currentMode() == 1) {
        main().ContinueExercise();
        return;
    }
    if (s.currentMode() == 2)
        main().ContinueTest();
}

} // namespace kvadra
