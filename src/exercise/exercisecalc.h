#pragma once

#include "circuit/loader.h"
#include "exercise/elementinput.h"
#include "shell/toolwindow.h"
#include "twoport/calculatorcopy.h"
#include "twoport/catalogue.h"
#include "twoport/explain.h"
#include "twoport/formulas.h"

#include <optional>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvadra
{

class PictureBox;
class ResultBox;

// exercise_calc: the element values of one schematic in, its Z and Y matrices out.
class ExerciseCalc : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "exercise_calc";

    explicit ExerciseCalc(TwoportMain &main);

    // Sets the window up afresh for a schematic: picture, unit captions, open inputs for the
    // elements it has and "0" in the others, all results empty, Continue disabled.
    void prepare(qint16 schemNumber, const QString &schemName, const QString &ohmPrefix,
                 const QString &siemensPrefix);

    void unload() override;

private:
    void calculate();
    // `exact`: the same network worked out exactly, for the fractions in the tooltips.
    void runProcedure(Procedure procedure, const ElementInput &input,
                      const circuit::Analysis *exact);
    void explainMissing(QGroupBox *frame, bool z);
    void announceMissing(const QString &reasons);
    QString copyResults(bool latex) const;
    void openCheck();

    // The schematic on show and each matrix as its last successful run left it.
    CalculatorResults m_results;
    QList<QAction *> m_copying;

    QGroupBox *m_frmInput;
    QGroupBox *m_frmZ;
    QGroupBox *m_frmY;
    PictureBox *m_picture;
    std::array<QLabel *, 3> m_inLabels{};
    std::array<QLineEdit *, 3> m_values{};
    std::array<ResultBox *, 4> m_z{};
    std::array<ResultBox *, 4> m_y{};
    QPushButton *m_calculate;
    QPushButton *m_continue;
    QPushButton *m_check;
    // The last calculation in which every matrix of the schematic was computed.
    std::optional<ElementInput> m_lastSuccess;
};

} // namespace kvadra
