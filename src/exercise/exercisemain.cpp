#include "exercise/exercisemain.h"

#include "resources/picturewidgets.h"
#include "shell/appearance.h"
#include "shell/controls.h"
#include "shell/twoportmain.h"
#include "twoport/catalogue.h"

#include <QGroupBox>
#include <QLabel>

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
}

void ExerciseMain::setCaption(const QString &caption)
{
    m_frame->setTitle(caption);
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
