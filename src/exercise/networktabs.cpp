#include "exercise/networktabs.h"

#include "exercise/joinview.h"
#include "exercise/setsview.h"
#include "exercise/terminatedview.h"

#include <QVBoxLayout>

namespace kvadra
{

namespace
{
enum Tab { Parameters, Terminated, Joined };

// A tab's page, empty until the student opens it.
QWidget *page(QTabWidget *tabs, const QString &name)
{
    auto *w = new QWidget(tabs);
    w->setObjectName(name);
    auto *layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    return w;
}
} // namespace

NetworkTabs::NetworkTabs(QWidget *parent) : QTabWidget(parent)
{
    m_sets = new SetsView(this);
    m_sets->setObjectName(QStringLiteral("viewSets"));
    addTab(m_sets, QStringLiteral("Parameters"));
    addTab(page(this, QStringLiteral("pageTerminated")), QStringLiteral("Terminated"));
    addTab(page(this, QStringLiteral("pageJoined")), QStringLiteral("Joined"));
    connect(this, &QTabWidget::currentChanged, this, &NetworkTabs::bringUpToDate);
}

void NetworkTabs::showNetwork(circuit::AnalysisPtr analysis, const circuit::Request &request,
                              bool keepTyped)
{
    m_sets->showAnalysis(analysis, request.units, keepTyped);
    m_analysis = std::move(analysis);
    m_request = request;
    m_terminatedKeeps = m_terminatedKeeps && keepTyped;
    m_terminatedStale = m_joinedStale = true;
    bringUpToDate(currentIndex());
}

void NetworkTabs::showPending(const QString &why)
{
    m_sets->showPending(why);
}

void NetworkTabs::bringUpToDate(int tab)
{
    if (!m_analysis)
        return;
    if (tab == Terminated && m_terminatedStale) {
        if (!m_terminated) {
            m_terminated = new TerminatedView(widget(Terminated));
            m_terminated->setObjectName(QStringLiteral("viewTerminated"));
            widget(Terminated)->layout()->addWidget(m_terminated);
        }
        m_terminated->setNetwork(m_analysis, m_request.units, m_terminatedKeeps);
        m_terminatedStale = false;
        m_terminatedKeeps = true;
    } else if (tab == Joined && m_joinedStale) {
        if (!m_joined) {
            m_joined = new JoinView(widget(Joined));
            m_joined->setObjectName(QStringLiteral("viewJoined"));
            widget(Joined)->layout()->addWidget(m_joined);
            connect(m_joined, &JoinView::openNetlist, this, &NetworkTabs::openNetlist);
        }
        m_joined->setNetwork(m_request);
        m_joinedStale = false;
    }
}

QString NetworkTabs::copy(CopyFlavour flavour) const
{
    QStringList parts{m_sets->copy(flavour)};
    if (m_terminated && !m_terminatedStale)
        parts << m_terminated->copy(flavour);
    if (m_joined && !m_joinedStale)
        parts << m_joined->copy(flavour);
    parts.removeAll(QString());
    return parts.join(QLatin1Char('\n'));
}

} // namespace kvadra
