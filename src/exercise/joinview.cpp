#include "exercise/joinview.h"

#include "circuit/loader.h"
#include "exercise/joinchoices.h"
#include "exercise/joinedtext.h"
#include "exercise/joinpartner.h"
#include "exercise/resultcells.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvadra
{

JoinView::JoinView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto *choice = new QGridLayout;
    choice->setHorizontalSpacing(6); // as the JoinPartner below, so the two lists line up
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cmbJoinKind"));
    for (const KindInfo &k : joinKinds)
        m_kind->addItem(QString::fromUtf8(k.caption));
    m_kind->setFont(programFont());
    m_kind->setAccessibleName(QStringLiteral("How the two networks are joined"));
    auto *label = plainLabel(this, QStringLiteral("lblJoinKind"));
    label->setText(QStringLiteral("Join:"));
    label->setFixedWidth(40);
    label->setBuddy(m_kind);
    choice->addWidget(label, 0, 0);
    choice->addWidget(m_kind, 0, 1, 1, 6);
    choice->setColumnStretch(6, 1);
    layout->addLayout(choice);
    m_partner = new JoinPartner(this);
    layout->addWidget(m_partner);

    m_error = plainLabel(this, QStringLiteral("lblJoinError"));
    m_error->setWordWrap(true);
    m_error->hide();
    layout->addWidget(m_error);

    auto *results = new QGroupBox(this);
    m_results = results;
    results->setObjectName(QStringLiteral("frameJoined"));
    setFrameCaption(results, QStringLiteral("By the rule and as built"));
    makeBold(results);
    auto *grid = new QGridLayout(results);
    grid->setVerticalSpacing(1);
    grid->setContentsMargins(6, 2, 6, 2);
    m_ruleName = plainLabel(results, QStringLiteral("lblRuleName"));
    grid->addWidget(m_ruleName, 0, 0, 1, 3);
    for (auto [column, caption] : {std::pair{1, "by the rule"}, std::pair{2, "as built"}}) {
        auto *head = plainLabel(results, QString());
        head->setText(QString::fromUtf8(caption));
        grid->addWidget(head, 1, column);
    }
    for (ParameterSet set : allParameterSets) {
        SetRow &row = m_sets[size_t(set)];
        row.name = plainLabel(results, QStringLiteral("lblJoinSet") + setName(set));
        row.name->setText(setName(set));
        row.rule = plainLabel(results, QStringLiteral("lblRule") + setName(set));
        row.built = plainLabel(results, QStringLiteral("lblBuilt") + setName(set));
        for (QLabel *matrix : {row.rule, row.built}) {
            matrix->setWordWrap(true);
            matrix->setMinimumWidth(220);
        }
        const int r = 2 + int(set);
        grid->addWidget(row.name, r, 0);
        grid->addWidget(row.rule, r, 1);
        grid->addWidget(row.built, r, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    layout->addWidget(results);

    m_holds = plainLabel(this, QStringLiteral("lblRuleHolds"));
    m_holds->setWordWrap(true);
    makeBold(m_holds);
    m_why = plainLabel(this, QStringLiteral("lblWhy"));
    m_why->setWordWrap(true);
    m_why->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_open = new QPushButton(QStringLiteral("Open the joined network"), this);
    m_open->setObjectName(QStringLiteral("btnOpenJoined"));
    m_open->setFont(programFont());
    explain(m_open, QStringLiteral("The two networks wired together, as a netlist, in the "
                                   "own-network window."));
    auto *open = new QHBoxLayout;
    open->addWidget(m_open);
    open->addStretch(1);
    layout->addWidget(m_holds);
    layout->addWidget(m_why);
    layout->addLayout(open);
    layout->addStretch(1);

    connect(m_kind, &QComboBox::currentIndexChanged, this, &JoinView::join);
    connect(m_partner, &JoinPartner::changed, this, &JoinView::join);
    connect(m_partner, &JoinPartner::failed, this, [this](const QString &why) {
        m_error->setText(why);
        m_error->show();
    });
    connect(m_open, &QPushButton::clicked, this, [this] { emit openNetlist(m_joined.netlist); });
}

void JoinView::setNetwork(const circuit::Request &request)
{
    m_request = request;
    join();
}

void JoinView::joinWithNetlist(const QString &netlist, const QString &name)
{
    m_partner->chooseNetlist(netlist, name);
}

void JoinView::join()
{
    if (m_request.netlist.isEmpty())
        return;
    QString problem;
    const circuit::Engine *engine = circuit::circuitEngine(&problem);
    if (!engine) {
        showJoined({circuit::NetlistError{{}, problem}, {}, {}, false, {}, {}});
        return;
    }
    circuit::Joined joined;
    {
        const circuit::EngineLock lock;
        circuit::Request first = m_request;
        // Numbers alone are fast; a symbol without a value needs the formulas.
        first.numericOnly = allValued(first, engine->read(first.netlist).symbols);
        joined = engine->join(first, m_partner->request(*engine, m_request),
                              joinKinds[size_t(m_kind->currentIndex())].kind);
    }
    showJoined(joined);
}

void JoinView::showJoined(const circuit::Joined &joined)
{
    m_error->setText(joined.error ? errorText(*joined.error) : QString());
    m_error->setVisible(joined.error.has_value());
    m_results->setVisible(!joined.error);
    m_holds->setVisible(!joined.error);
    m_why->setVisible(!joined.error && !joined.why.isEmpty());
    m_joined = joined;
    m_open->setEnabled(!joined.error && !joined.netlist.isEmpty());
    if (joined.error)
        return;
    m_ruleName->setText(QString::fromUtf8(joinKinds[size_t(m_kind->currentIndex())].rule));
    for (ParameterSet set : allParameterSets) {
        const SetRow &row = m_sets[size_t(set)];
        for (auto [label, report, how] :
             {std::tuple{row.rule, &joined.rule[size_t(set)], "by the rule"},
              std::tuple{row.built, &joined.built[size_t(set)], "as built"}}) {
            label->setText(matrixText(set, *report, m_request.units));
            label->setAccessibleName(setName(set) + QLatin1Char(' ') + QString::fromUtf8(how) +
                                     QStringLiteral(": ") +
                                     matrixWords(set, *report, m_request.units));
            explain(label, label->accessibleName());
        }
    }
    m_holds->setText(ruleVerdict(joined));
    m_why->setText(joined.why);
}

QString JoinView::copy(CopyFlavour flavour) const
{
    if (m_joined.error || m_joined.netlist.isEmpty())
        return QString();
    return copyJoined(m_joined,
                      m_kind->currentText() + QStringLiteral(", with ") + m_partner->caption() +
                          QStringLiteral(". ") + m_ruleName->text(),
                      m_request.units, flavour);
}

} // namespace kvadra
