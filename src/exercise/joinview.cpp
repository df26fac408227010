#include "exercise/joinview.h"

#include "circuit/loader.h"
#include "exercise/joinchoices.h"
#include "exercise/joinedmatrix.h"
#include "exercise/resultcells.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "twoport/catalogue.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kvadra
{

namespace
{
// What cmbJoinWith's items carry: a schematic by its number, or one of these.
constexpr int withItself = 0, withItselfTurnedOver = -1, withFile = -2;

bool allValued(const circuit::Request &r, const QStringList &symbols)
{
    return std::all_of(symbols.cbegin(), symbols.cend(),
                       [&](const QString &s) { return !r.values.value(s).trimmed().isEmpty(); });
}

} // namespace

JoinView::JoinView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto *choice = new QGridLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cmbJoinKind"));
    for (const KindInfo &k : joinKinds)
        m_kind->addItem(QString::fromUtf8(k.caption));
    m_with = new QComboBox(this);
    m_with->setObjectName(QStringLiteral("cmbJoinWith"));
    m_with->addItem(QStringLiteral("itself"), withItself);
    m_with->addItem(QStringLiteral("itself turned over (each port's terminals swapped)"),
                    withItselfTurnedOver);
    for (const Schematic &s : catalogue())
        m_with->addItem(schematicCaption(s), int(s.number));
    m_with->addItem(QStringLiteral("a netlist file…"), withFile);
    for (auto [row, caption, box, what] :
         {std::tuple{0, "Join:", m_kind, "How the two networks are joined"},
          std::tuple{1, "with:", m_with, "The network this one is joined with"}}) {
        box->setFont(programFont());
        box->setAccessibleName(QString::fromUtf8(what));
        auto *label = plainLabel(this, QStringLiteral("lbl") + box->objectName().mid(3));
        label->setText(QString::fromUtf8(caption));
        label->setBuddy(box);
        choice->addWidget(label, row, 0);
        choice->addWidget(box, row, 1, 1, 6);
    }
    for (int k = 0; k < 3; ++k) {
        m_valueNames[size_t(k)] = plainLabel(this, QStringLiteral("lblJoinValue%1").arg(k + 1));
        m_values[size_t(k)] = new QLineEdit(this);
        QLineEdit *edit = m_values[size_t(k)];
        edit->setObjectName(QStringLiteral("txtJoinValue%1").arg(k + 1));
        edit->setFont(programFont());
        edit->setMaximumWidth(110);
        m_valueNames[size_t(k)]->setBuddy(edit);
        explain(edit, QStringLiteral("A value of the other network as in a netlist: 1k, 4k7, "
                                     "5/11, 2m (a conductance in S)."));
        selectAllOnFocus(edit);
        choice->addWidget(m_valueNames[size_t(k)], 2, 1 + 2 * k);
        choice->addWidget(edit, 2, 2 + 2 * k);
        connect(edit, &QLineEdit::textChanged, this, [this, k](const QString &text) {
            if (k < m_otherSymbols.size())
                m_typed[m_otherSymbols[k]] = text;
            join();
        });
    }
    choice->setColumnStretch(6, 1);
    layout->addLayout(choice);

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
    connect(m_with, &QComboBox::currentIndexChanged, this, &JoinView::otherChosen);
    connect(m_open, &QPushButton::clicked, this, [this] { emit openNetlist(m_joinedNetlist); });
    offerValues();
}

void JoinView::setNetwork(const circuit::Request &request)
{
    m_request = request;
    join();
}

void JoinView::joinWithNetlist(const QString &netlist, const QString &name)
{
    m_fileNetlist = netlist;
    m_lastChoice = withFile; // chosen already: no file dialog
    const int file = m_with->findData(withFile);
    m_with->setItemText(file, QStringLiteral("a netlist file… (%1)").arg(name));
    if (m_with->currentIndex() == file)
        otherChosen();
    else
        m_with->setCurrentIndex(file);
}

void JoinView::otherChosen()
{
    const int choice = m_with->currentData().toInt();
    if (choice == withFile && m_lastChoice != withFile) {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Join with a netlist"), QString(),
            QStringLiteral("Netlists (*.cir *.net *.txt);;All files (*)"));
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            // Back to what is shown, which still holds: nothing to join afresh.
            const QSignalBlocker quiet(m_with);
            m_with->setCurrentIndex(m_with->findData(m_lastChoice));
            if (!path.isEmpty()) {
                m_error->setText(
                    QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
                m_error->show();
            }
            return;
        }
        joinWithNetlist(QString::fromUtf8(file.readAll()), QFileInfo(path).fileName());
        return;
    }
    m_lastChoice = choice;
    offerValues();
    join();
}

void JoinView::offerValues()
{
    const int choice = m_with->currentData().toInt();
    m_otherSymbols.clear();
    m_otherNetlist.clear();
    if (choice > 0 || choice == withFile) {
        if (const circuit::Engine *engine = circuit::circuitEngine()) {
            const circuit::EngineLock lock;
            m_otherNetlist = choice > 0 ? engine->schematicNetlist(choice) : m_fileNetlist;
            m_otherSymbols = engine->read(m_otherNetlist).symbols;
        }
    }
    for (int k = 0; k < 3; ++k) {
        const bool shown = k < m_otherSymbols.size();
        m_valueNames[size_t(k)]->setVisible(shown);
        m_values[size_t(k)]->setVisible(shown);
        if (!shown)
            continue;
        const QString symbol = m_otherSymbols[k];
        m_valueNames[size_t(k)]->setText(symbol + QLatin1Char(':'));
        m_values[size_t(k)]->setAccessibleName(
            QStringLiteral("Value of %1 in the other network").arg(symbol));
        // Filled, not typed: the join comes once, after all three.
        const QSignalBlocker quiet(m_values[size_t(k)]);
        m_values[size_t(k)]->setText(
            m_typed.value(symbol, choice > 0 ? startingValue(symbol) : QString()));
    }
}

circuit::Request JoinView::other(const circuit::Engine &engine) const
{
    const int choice = m_with->currentData().toInt();
    circuit::Request r = m_request;
    if (choice == withItself)
        return r;
    if (choice == withItselfTurnedOver) {
        r.netlist = turnedOver(r.netlist, engine.read(r.netlist));
        return r;
    }
    r.netlist = m_otherNetlist;
    r.values.clear();
    for (int k = 0; k < m_otherSymbols.size() && k < 3; ++k)
        if (!m_values[size_t(k)]->text().trimmed().isEmpty())
            r.values.insert(m_otherSymbols[k], m_values[size_t(k)]->text().trimmed());
    r.numericOnly = allValued(r, m_otherSymbols);
    return r;
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
        joined =
            engine->join(first, other(*engine), joinKinds[size_t(m_kind->currentIndex())].kind);
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
    m_joinedNetlist = joined.error ? QString() : joined.netlist;
    m_open->setEnabled(!m_joinedNetlist.isEmpty());
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
    m_holds->setText(joined.ruleHolds
                         ? QStringLiteral("✓ The rule holds: the network built has the rule's "
                                          "parameters.")
                         : QStringLiteral("✗ The rule does not hold: the network built differs "
                                          "from the rule's result."));
    m_why->setText(joined.why);
}

} // namespace kvadra
