#pragma once

#include "twoport/units.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace kvadra
{

// The values all windows share during a run. It belongs to the main window; other windows reach
// it only through the main window and read a field at the moment they need it. Flags hold 1 or
// 0, never a boolean. Every field starts at 0 or empty; the main window's load step sets the
// start values that differ.
class SharedState
{
public:
    qint16 windowStates() const { return m_windowStates; }
    void setWindowStates(qint16 v) { m_windowStates = v; }
    qint16 siemensDisplay() const { return m_siemensDisplay; }
    void setSiemensDisplay(qint16 v) { m_siemensDisplay = v; }
    qint16 ampereDisplay() const { return m_ampereDisplay; }
    void setAmpereDisplay(qint16 v) { m_ampereDisplay = v; }
    qint16 voltDisplay() const { return m_voltDisplay; }
    void setVoltDisplay(qint16 v) { m_voltDisplay = v; }
    qint16 ohmDisplay() const { return m_ohmDisplay; }
    void setOhmDisplay(qint16 v) { m_ohmDisplay = v; }
    qint16 labEquation() const { return m_labEquation; }
    void setLabEquation(qint16 v) { m_labEquation = v; }
    qint16 schemNumber() const { return m_schemNumber; }
    void setSchemNumber(qint16 v) { m_schemNumber = v; }
    qint16 currentMode() const { return m_currentMode; }
    void setCurrentMode(qint16 v) { m_currentMode = v; }
    QString schemName() const { return m_schemName; }
    void setSchemName(const QString &v) { m_schemName = v; }
    double pz11() const { return m_pz11; }
    void setPz11(double v) { m_pz11 = v; }
    double pz12() const { return m_pz12; }
    void setPz12(double v) { m_pz12 = v; }
    double pz21() const { return m_pz21; }
    void setPz21(double v) { m_pz21 = v; }
    double pz22() const { return m_pz22; }
    void setPz22(double v) { m_pz22 = v; }
    double py11() const { return m_py11; }
    void setPy11(double v) { m_py11 = v; }
    double py12() const { return m_py12; }
    void setPy12(double v) { m_py12 = v; }
    double py21() const { return m_py21; }
    void setPy21(double v) { m_py21 = v; }
    double py22() const { return m_py22; }
    void setPy22(double v) { m_py22 = v; }
    qint16 zExists() const { return m_zExists; }
    void setZExists(qint16 v) { m_zExists = v; }
    qint16 yExists() const { return m_yExists; }
    void setYExists(qint16 v) { m_yExists = v; }
    qint16 schemCount() const { return m_schemCount; }
    void setSchemCount(qint16 v) { m_schemCount = v; }
    QString curLabParam() const { return m_curLabParam; }
    void setCurLabParam(const QString &v) { m_curLabParam = v; }

    // Conveniences over the fields above.
    UnitPowers units() const
    {
        return {m_voltDisplay, m_ampereDisplay, m_ohmDisplay, m_siemensDisplay};
    }
    std::array<double, 4> z() const { return {m_pz11, m_pz12, m_pz21, m_pz22}; }
    std::array<double, 4> y() const { return {m_py11, m_py12, m_py21, m_py22}; }

private:
    qint16 m_windowStates = 0;
    qint16 m_siemensDisplay = 0;
    qint16 m_ampereDisplay = 0;
    qint16 m_voltDisplay = 0;
    qint16 m_ohmDisplay = 0;
    qint16 m_labEquation = 0;
    qint16 m_schemNumber = 0;
    qint16 m_currentMode = 0;
    QString m_schemName;
    double m_pz11 = 0;
    double m_pz12 = 0;
    double m_pz21 = 0;
    double m_pz22 = 0;
    double m_py11 = 0;
    double m_py12 = 0;
    double m_py21 = 0;
    double m_py22 = 0;
    qint16 m_zExists = 0;
    qint16 m_yExists = 0;
    qint16 m_schemCount = 0;
    QString m_curLabParam;
};

} // namespace kvadra
