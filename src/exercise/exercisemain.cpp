#include "exercise/exercisemain.h"

#include "resources/pictures.h"
#include "shell/twoportmain.h"
#include "shell/widgets.h"
#include "twoport/catalogue.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kvadra
{

ExerciseMain::ExerciseMain(TwoportMain &main) : ToolWindow(main, "exercise_main", 4)
{
    setWindowTitle(QStringLiteral("Schematic selection"));
    setFixedWindow(this, tw(10020), tw(7215));
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);

    m_frame = makeFrame(this, "frmGetSchem", QString(), tw(120), tw(120), tw(9735), tw(6975));
    makeLabel(m_frame, "Label1",
              QStringLiteral("Please click on the schematic for which you want to obtain Z- and "
                             "Y-parameters:"),
              tw(120), tw(360), tw(5775), tw(375));

    // White picture buttons: one palette on the frame, inherited by all fourteen. (A palette
    // of its own costs a button the style's cached drawing; about 3 ms per window opening.)
    QPalette white = m_frame->palette();
    white.setColor(QPalette::Button, Qt::white);
    m_frame->setPalette(white);

    const int columns[] = {120, 2520, 4920, 7320};
    const int rows[] = {720, 2280, 3840, 5400};
    for (const Schematic &s : catalogue()) {
        const int cell = s.number - 1;
        QPushButton *button = makeButton(m_frame, s.buttonName, QString(), tw(columns[cell % 4]),
                                         tw(rows[cell / 4]), tw(2295), tw(1455));
        button->setIcon(pictureIcon(s.pictureName()));
        button->setIconSize(pictureSize(s.pictureName()));
        button->setAccessibleName(pictureDescription(s.pictureName()));
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
