#pragma once

#include "circuit/engine.h"
#include "exercise/resultcells.h"
#include "twoport/copytext.h"
#include "twoport/units.h"

#include <QWidget>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace kvadra
{

class ResultBox;

// Every parameter set of one analysed network, each entry exact, as a decimal in the display
// unit of its kind and as a formula in the element names, with a box beside it where the student
// types their own value or formula and reads whether it matches or which slip it looks like; a
// missing set says why. Then the network's reciprocity and symmetry and its equivalent T and Π.
// The check window and the own-network window both show their network this way.
class SetsView : public QWidget
{
    Q_OBJECT
public:
    explicit SetsView(QWidget *parent = nullptr);

    // Shows a network. With keepTyped the student's values stay and are judged afresh (the same
    // network, new values); otherwise they are cleared.
    void showAnalysis(std::shared_ptr<const circuit::Analysis> analysis, const UnitPowers &units,
                      bool keepTyped);
    // A sentence in place of the sets, while there are none to show: "working out the
    // formulas…", "Port 2 is missing: no set can be computed."
    void showPending(const QString &why);

    // The sets as shown, as plain text or as a LaTeX fragment (amsmath for its matrices).
    QString copy(CopyFlavour flavour) const;

private:
    using Row = ResultRow;
    void showSet(ParameterSet set, bool keepTyped);
    void showProperties();
    void judgeRow(int set, int entry);
    // Shows the full verdict on that entry below the sets.
    void explainRow(int set, int entry);

    std::shared_ptr<const circuit::Analysis> m_analysis;
    UnitPowers m_units;
    QLabel *m_pending;
    std::array<QGroupBox *, 5> m_frames{};
    std::array<QLabel *, 5> m_missing{};
    std::array<std::array<Row, 4>, 5> m_rows{};
    QLabel *m_reciprocal;
    QLabel *m_symmetric;
    QGroupBox *m_teeFrame;
    QGroupBox *m_piFrame;
    QLabel *m_tee;
    QLabel *m_pi;
    QLabel *m_explanation;
    std::pair<int, int> m_explained{-1, -1};
};

} // namespace kvadra
