#include "exercise/exercisemain.h"

#include "resources/bands.h"
#include "resources/pictures.h"
#include "shell/cachingstyle.h"
#include "shell/twoportmain.h"
#include "shell/widgets.h"
#include "twoport/catalogue.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace kvadra
{

namespace
{
// Paints a picture button as a plain bevel with a white face and the schematic on it, from an
// image drawn once per state. Giving the buttons a white palette instead would cost each one
// the style's cached bevel, which doubled the time to open the window.
class WhitePictureFace : public QObject
{
public:
    WhitePictureFace(QPushButton *button, const QString &picture)
        : QObject(button), m_button(button), m_picture(picture)
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        QStylePainter p(m_button);
        QStyleOptionButton opt;
        opt.initFrom(m_button);
        opt.state |= m_button->isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        const QRect face =
            m_button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, m_button);
        const QSize size = pictureSize(m_picture);
        const QPoint at(face.x() + (face.width() - size.width()) / 2,
                        face.y() + (face.height() - size.height()) / 2);
        const QPixmap look = cachedLook(m_button, opt, m_picture, [&](QPainter &painter) {
            m_button->style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &painter, m_button);
            painter.fillRect(face, Qt::white);
            painter.drawPixmap(at, picture(m_picture, m_button->devicePixelRatioF()));
        });
        paintInBands(p, m_button->rect(), [&] { p.drawPixmap(0, 0, look); });
        if (m_button->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(m_button);
            focus.rect = face;
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
        return true;
    }

private:
    QPushButton *m_button;
    QString m_picture;
};
} // namespace

ExerciseMain::ExerciseMain(TwoportMain &main) : ToolWindow(main, "exercise_main", 4)
{
    setWindowTitle(QStringLiteral("Schematic selection"));
    setFixedWindow(this, tw(10020), tw(7215));
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);

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
        QPushButton *button = makeButton(m_frame, s.buttonName, QString(), tw(columns[cell % 4]),
                                         tw(rows[cell / 4]), tw(2295), tw(1455));
        button->setIcon(pictureIcon(s.pictureName()));
        button->setIconSize(pictureSize(s.pictureName()));
        button->setAccessibleName(pictureDescription(s.pictureName()));
        new WhitePictureFace(button, s.pictureName());
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
