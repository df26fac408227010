#include "lab/labselectelement.h"

#include "lab/labformula.h"
#include "lab/labhelper.h"
#include "resources/picturewidgets.h"
#include "shell/twoportmain.h"
#include "shell/appearance.h"
#include "shell/controls.h"

#include <QGroupBox>
#include <QLabel>

namespace kvadra
{

LabSelectElement::LabSelectElement(TwoportMain &main) : ToolWindow(main, Name, 1)
{
    setWindowTitle(QStringLiteral("Select parameter"));
    setFixedWindow(this, tw(3000), tw(3495), false);

    const struct {
        const char *name, *caption;
        int x, y, h;
        ParameterSet kind;
    } frames[] = {
        {"frameZ", "Z parameters", 120, 120, 1600, ParameterSet::Z},
        {"frameY", "Y parameters", 1560, 120, 1575, ParameterSet::Y},
        {"frameH", "H parameters", 120, 1800, 1575, ParameterSet::H},
        {"frameABCD", "ABCD", 1560, 1800, 1575, ParameterSet::ABCD},
    };
    const auto &parameters = labParameters();
    for (int f = 0; f < 4; ++f) {
        const auto &fr = frames[f];
        QGroupBox *frame = makeFrame(this, fr.name, QLatin1String(fr.caption), tw(fr.x), tw(fr.y),
                                     tw(1335), tw(fr.h));
        setBackground(frame, matrixColour(fr.kind));
        std::array<QString, 4> names;
        for (size_t i = 0; i < 4; ++i)
            names[i] = QLatin1String(parameters[size_t(4 * f) + i].name);
        makeButtonGrid(frame, names,
                       [this, &parameters, f](int i) { choose(parameters[size_t(4 * f + i)]); });
    }
}

void LabSelectElement::choose(const LabParameter &p)
{
    const UnitPowers units = main().state().units();
    setupLabHelper(QLatin1String(p.meas1Name), QLatin1String(p.meas2Name), units.of(p.meas1),
                   units.of(p.meas2), baseUnit(p.meas1), baseUnit(p.meas2), QLatin1String(p.name),
                   baseUnit(p.unit), units.of(p.unit));
    main().state().setLabEquation(p.equation);
}

void LabSelectElement::setupLabHelper(const QString &meas1Name, const QString &meas2Name,
                                      const qint16 &meas1Power, const qint16 &meas2Power,
                                      const QString &meas1Unit, const QString &meas2Unit,
                                      const QString &paramName, const QString &paramUnit,
                                      const qint16 &paramPower)
{
    LabHelper *helper = main().windows().show<LabHelper>();
    const TwoportMain &m = main();
    helper->setCaptions(meas1Name + QStringLiteral(", ") + m.getPrefix(meas1Power) + meas1Unit,
                        meas2Name + QStringLiteral(", ") + m.getPrefix(meas2Power) + meas2Unit,
                        paramUnit.isEmpty()
                            ? QStringLiteral("Parameter ") + paramName + QStringLiteral(" value:")
                            : QStringLiteral("Parameter ") + paramName +
                                  QStringLiteral(" value (") + m.getPrefix(paramPower) + paramUnit +
                                  QStringLiteral("):"));
    helper->picLab()->setPictureName(labPictureName(paramName));
    main().state().setCurLabParam(paramName);
}

} // namespace kvadra
