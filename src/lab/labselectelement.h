#pragma once

#include "shell/toolwindow.h"

namespace kvadra
{

struct LabParameter;

// lab_selectelement: the sixteen parameters; each button sets up the lab helper for its
// parameter and stays available for the next choice.
class LabSelectElement : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "lab_selectelement";

    explicit LabSelectElement(TwoportMain &main);

private:
    void choose(const LabParameter &parameter);
    void setupLabHelper(const QString &meas1Name, const QString &meas2Name,
                        const qint16 &meas1Power, const qint16 &meas2Power,
                        const QString &meas1Unit, const QString &meas2Unit,
                        const QString &paramName, const QString &paramUnit,
                        const qint16 &paramPower);
};

} // namespace kvadra
