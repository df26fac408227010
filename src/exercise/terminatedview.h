#pragma once

#include "circuit/loader.h"
#include "exercise/resultcells.h"
#include "twoport/copytext.h"
#include "twoport/units.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace kvadra
{

class ResultBox;

// One analysed network between a source (Vs with its impedance Zs) at port 1 and a load ZL at
// port 2: its input and output impedance, gains, Thevenin voltage and load power, each exact, as
// a decimal and as a formula, with a box beside it for the student's own value or formula and
// the verdict on it; a quantity that does not exist says why.
class TerminatedView : public QWidget
{
    Q_OBJECT
public:
    explicit TerminatedView(QWidget *parent = nullptr);

    // Shows a network. With keepTyped the student's values stay and are judged afresh (the same
    // network, new values); otherwise they are cleared. Zs and ZL stay as typed.
    void setNetwork(circuit::AnalysisPtr analysis, const UnitPowers &units, bool keepTyped);

    // The quantities as shown, as plain text or as a LaTeX fragment.
    QString copy(CopyFlavour flavour) const;

private:
    struct Row : ResultRow {
        QLabel *missing = nullptr;
    };
    static constexpr int quantityCount = 7;
    // Zs and ZL as the core reads them: an empty box is an ideal source, or an open port 2.
    QString zs() const;
    QString zl() const;
    void terminate();
    void showRow(int quantity, const std::optional<circuit::Exact> &value, const QString &missing);
    void judgeRow(int quantity);
    void explainRow(int quantity);

    circuit::AnalysisPtr m_analysis;
    UnitPowers m_units;
    circuit::Terminated m_result;
    QLineEdit *m_zs;
    QLineEdit *m_zl;
    QLabel *m_error;
    QWidget *m_frame;
    std::array<Row, quantityCount> m_rows{};
    QLabel *m_explanation;
    int m_explained = -1;
};

} // namespace kvadra
