#include "lab/labselectelement.h"

#include "lab/labformula.h"
#include "lab/labhelper.h"
#include "resources/pictures.h"
#include "shell/twoportmain.h"
#include "shell/widgets.h"

#include <QLabel>

#include <QGroupBox>
#include <QPushButton>

namespace kvadra
{

LabSelectElement::LabSelectElement(TwoportMain &main) : ToolWindow(main, "lab_selectelement", 1)
{
    setWindowTitle(QStringLiteral("Select parameter"));
    setFixedWindow(this, tw(3000), tw(3495));
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);

    struct Frame {
        const char *name;
        const char *caption;
        int x, y, w, h;
        QColor background;
    };
    const Frame frames[] = {
        {"frameZ", "Z parameters", 120, 120, 1335, 1600, QColor(192, 255, 255)},
        {"frameY", "Y parameters", 1560, 120, 1335, 1575, QColor(255, 255, 192)},
        {"frameH", "H parameters", 120, 1800, 1335, 1575, QColor(255, 192, 192)},
        {"frameABCD", "ABCD", 1560, 1800, 1335, 1575, QColor(192, 255, 192)},
    };
    const QPoint cells[4] = {{120, 360}, {720, 360}, {120, 960}, {720, 960}};
    const auto &parameters = labParameters();
    for (int f = 0; f < 4; ++f) {
        const Frame &fr = frames[f];
        QGroupBox *frame = makeFrame(this, fr.name, QLatin1String(fr.caption), tw(fr.x), tw(fr.y),
                                     tw(fr.w), tw(fr.h));
        setBackground(frame, fr.background);
        for (int i = 0; i < 4; ++i) {
            const LabParameter &p = parameters[size_t(4 * f + i)];
            QPushButton *button = makeButton(frame, p.button, QLatin1String(p.name),
                                             tw(cells[i].x()), tw(cells[i].y()), tw(495), tw(495));
            connect(button, &QPushButton::clicked, this, [this, &p] { choose(p); });
        }
    }
}

void LabSelectElement::choose(const LabParameter &p)
{
    const SharedState &s = main().state();
    auto power = [&s](Quantity q) -> qint16 {
        switch (q) {
        case Quantity::Voltage:
            return s.voltDisplay();
        case Quantity::Current:
            return s.ampereDisplay();
        case Quantity::Resistance:
            return s.ohmDisplay();
        case Quantity::Conductance:
            return s.siemensDisplay();
        case Quantity::None:
            break;
        }
        return 0;
    };
    setupLabHelper(QLatin1String(p.meas1Name), QLatin1String(p.meas2Name), power(p.meas1),
                   power(p.meas2), baseUnit(p.meas1), baseUnit(p.meas2), QLatin1String(p.name),
                   baseUnit(p.unit), power(p.unit));
    main().state().setLabEquation(p.equation);
}

void LabSelectElement::setupLabHelper(const QString &meas1Name, const QString &meas2Name,
                                      const qint16 &meas1Power, const qint16 &meas2Power,
                                      const QString &meas1Unit, const QString &meas2Unit,
                                      const QString &paramName, const QString &paramUnit,
                                      const qint16 &paramPower)
{
    auto *helper = static_cast<LabHelper *>(main().windows().show(QStringLiteral("lab_helper")));
    const TwoportMain &m = main();
    helper->frameMeasure1()->setTitle(meas1Name + QStringLiteral(", ") + m.getPrefix(meas1Power) +
                                      meas1Unit);
    helper->frameMeasure2()->setTitle(meas2Name + QStringLiteral(", ") + m.getPrefix(meas2Power) +
                                      meas2Unit);
    if (paramUnit.isEmpty())
        helper->lblParameter()->setText(QStringLiteral("Parameter ") + paramName +
                                        QStringLiteral(" value:"));
    else
        helper->lblParameter()->setText(QStringLiteral("Parameter ") + paramName +
                                        QStringLiteral(" value (") + m.getPrefix(paramPower) +
                                        paramUnit + QStringLiteral("):"));
    helper->picLab()->setPictureName(QStringLiteral("LAB") + paramName.toUpper());
    main().state().setCurLabParam(paramName);
}

} // namespace kvadra
