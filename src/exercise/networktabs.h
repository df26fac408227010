#pragma once

#include "circuit/loader.h"
#include "twoport/copytext.h"
#include "twoport/units.h"

#include <QTabWidget>

#include <array>

namespace kvadra
{

class JoinView;
class SetsView;
class TerminatedView;

// One analysed network in three tabs: its parameter sets, the network between a source and a
// load, and the network joined with another. The last two are built and worked out only once the
// student opens their tab, so that a network shown costs no more than its sets.
class NetworkTabs : public QTabWidget
{
    Q_OBJECT
public:
    // `scrolled`: each tab scrolls, for a window whose size the student chooses; otherwise the
    // window takes the size of what it shows.
    explicit NetworkTabs(QWidget *parent = nullptr, bool scrolled = false);

    SetsView *sets() const { return m_sets; }

    // A network to show: `analysis` of `request`. With keepTyped the student's values stay.
    void showNetwork(circuit::AnalysisPtr analysis, const circuit::Request &request,
                     bool keepTyped);
    // A sentence in place of the results while there are none.
    void showPending(const QString &why);

    // What every tab opened so far shows, as text or LaTeX.
    QString copy(CopyFlavour flavour) const;

signals:
    // The student asked to open a joined network.
    void openNetlist(const QString &netlist);

private:
    void bringUpToDate(int tab);

    SetsView *m_sets;
    std::array<QWidget *, 3> m_pages{};
    TerminatedView *m_terminated = nullptr;
    JoinView *m_joined = nullptr;
    circuit::AnalysisPtr m_analysis;
    circuit::Request m_request;
    // Whether the Terminated and the Joined tab show the network, and may keep what was typed.
    bool m_terminatedStale = false, m_joinedStale = false, m_terminatedKeeps = true;
};

} // namespace kvadra
