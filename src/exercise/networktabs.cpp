#include "exercise/networktabs.h"

#include "exercise/joinview.h"
#include "exercise/setsview.h"
#include "exercise/terminatedview.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace kvadra
{

namespace
{
enum Tab { Parameters, Terminated, Joined };

// A tab's page, empty until the student opens it.
QWidget *page(QWidget *parent, const QString &name)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    auto *layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    return w;
}
} // namespace

NetworkTabs::NetworkTabs(QWidget *parent, bool scrolled) : QTabWidget(parent)
{
    m_sets = new SetsView(this);
    m_sets->setObjectName(QStringLiteral("viewSets"));
    m_pages = {m_sets, page(this, QStringLiteral("pageTerminated")),
               page(this, QStringLiteral("pageJoined"))};
    const QString captions[] = {QStringLiteral("&Parameters"), QStringLiteral("&Terminated"),
                                QStringLiteral("&Joined")};
    for (size_t tab = 0; tab < m_pages.size(); ++tab) {
        QWidget *shown = m_pages[tab];
        if (scrolled) {
            auto *scroll = new QScrollArea(this);
            scroll->setWidgetResizable(true);
            scroll->setWidget(shown);
            shown = scroll;
        }
        addTab(shown, captions[tab]);
    }
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
            m_terminated = new TerminatedView(m_pages[Terminated]);
            m_terminated->setObjectName(QStringLiteral("viewTerminated"));
            m_pages[Terminated]->layout()->addWidget(m_terminated);
            // A layout shows a widget added to a shown page only later, from the event loop.
            m_terminated->show();
        }
        m_terminated->setNetwork(m_analysis, m_request.units, m_terminatedKeeps);
        m_terminatedStale = false;
        m_terminatedKeeps = true;
    } else if (tab == Joined && m_joinedStale) {
        if (!m_joined) {
            m_joined = new JoinView(m_pages[Joined]);
            m_joined->setObjectName(QStringLiteral("viewJoined"));
            m_pages[Joined]->layout()->addWidget(m_joined);
            m_joined->show();
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
