#include "exercise/joinpartner.h"

#include "circuit/loader.h"
#include "exercise/joinchoices.h"
#include "exercise/resultcells.h"
#include "shell/application.h"
#include "shell/interaction.h"
#include "twoport/catalogue.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace kvadra
{

namespace
{
// What cmbJoinWith's items carry: a schematic by its number, or one of these. "a netlist file…"
// always asks for a file; the file read last has an item of its own, chosen again without asking.
constexpr int withItself = 0, withItselfTurnedOver = -1, withFile = -2, withFileRead = -3;

} // namespace

JoinPartner::JoinPartner(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    m_with = new QComboBox(this);
    m_with->setObjectName(QStringLiteral("cmbJoinWith"));
    m_with->setFont(programFont());
    m_with->setAccessibleName(QStringLiteral("The network this one is joined with"));
    m_with->addItem(QStringLiteral("itself"), withItself);
    m_with->addItem(QStringLiteral("itself turned over (each port's terminals swapped)"),
                    withItselfTurnedOver);
    for (const Schematic &s : catalogue())
        m_with->addItem(schematicCaption(s), int(s.number));
    m_with->addItem(QStringLiteral("a netlist file…"), withFile);
    auto *label = plainLabel(this, QStringLiteral("lblJoinWith"));
    label->setText(QStringLiteral("with:"));
    label->setFixedWidth(40);
    label->setBuddy(m_with);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_with, 0, 1, 1, 7);
    grid->setColumnStretch(7, 1);
    connect(m_with, &QComboBox::currentIndexChanged, this, &JoinPartner::chosen);
    offerValues();
}

void JoinPartner::addValueBox()
{
    // Three to a row, below the choice; in the tab order right after the box before it.
    const int k = int(m_values.size());
    auto *name = plainLabel(this, QStringLiteral("lblJoinValue%1").arg(k + 1));
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("txtJoinValue%1").arg(k + 1));
    edit->setFont(programFont());
    edit->setMaximumWidth(110);
    name->setBuddy(edit);
    explain(edit, QStringLiteral("A value of the other network as in a netlist: 1k, 4k7, "
                                 "5/11; a G element's value is in siemens (2m is 2 mS)."));
    selectAllOnFocus(edit);
    auto *grid = static_cast<QGridLayout *>(layout());
    grid->addWidget(name, 1 + k / 3, 1 + 2 * (k % 3));
    grid->addWidget(edit, 1 + k / 3, 2 + 2 * (k % 3));
    setTabOrder(k == 0 ? static_cast<QWidget *>(m_with) : m_values.back(), edit);
    connect(edit, &QLineEdit::textChanged, this, [this, k](const QString &text) {
        if (k < m_symbols.size())
            m_typed[m_symbols[k]] = text;
        emit changed();
    });
    m_valueNames.push_back(name);
    m_values.push_back(edit);
}

QString JoinPartner::caption() const
{
    return m_with->currentText();
}

void JoinPartner::chooseNetlist(const QString &netlist, const QString &name)
{
    m_fileNetlist = netlist;
    int read = m_with->findData(withFileRead);
    if (read < 0) {
        read = m_with->findData(withFile);
        m_with->insertItem(read, QString(), withFileRead);
    }
    m_with->setItemText(read, name);
    if (m_with->currentIndex() == read)
        chosen();
    else
        m_with->setCurrentIndex(read);
}

void JoinPartner::chosen()
{
    const int choice = m_with->currentData().toInt();
    if (choice == withFile) {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Join with a netlist"), QString(),
            QStringLiteral("Netlists (*.cir *.net *.txt);;All files (*)"));
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            // Back to what is shown, which still holds: nothing to join afresh.
            const QSignalBlocker quiet(m_with);
            m_with->setCurrentIndex(m_with->findData(m_lastChoice));
            if (!path.isEmpty())
                emit failed(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
            return;
        }
        chooseNetlist(QString::fromUtf8(file.readAll()), QFileInfo(path).fileName());
        return;
    }
    m_lastChoice = choice;
    offerValues();
    emit changed();
}

void JoinPartner::offerValues()
{
    const int choice = m_with->currentData().toInt();
    m_symbols.clear();
    m_netlist.clear();
    if (choice > 0 || choice == withFileRead) {
        if (const circuit::Engine *engine = circuit::circuitEngine()) {
            const circuit::EngineLock lock;
            m_netlist = choice > 0 ? engine->schematicNetlist(choice) : m_fileNetlist;
            m_symbols = engine->read(m_netlist).symbols;
        }
    }
    while (m_values.size() < m_symbols.size())
        addValueBox();
    for (int k = 0; k < m_values.size(); ++k) {
        const bool shown = k < m_symbols.size();
        m_valueNames[k]->setVisible(shown);
        m_values[k]->setVisible(shown);
        if (!shown)
            continue;
        const QString symbol = m_symbols[k];
        m_valueNames[k]->setText(symbol + QLatin1Char(':'));
        m_values[k]->setAccessibleName(
            QStringLiteral("Value of %1 in the other network").arg(symbol));
        // Filled, not typed: the join comes once, after all of them.
        const QSignalBlocker quiet(m_values[k]);
        m_values[k]->setText(m_typed.value(symbol, choice > 0 ? startingValue(symbol) : QString()));
    }
}

circuit::Request JoinPartner::request(const circuit::Engine &engine,
                                      const circuit::Request &self) const
{
    const int choice = m_with->currentData().toInt();
    circuit::Request r = self;
    if (choice == withItself)
        return r;
    if (choice == withItselfTurnedOver) {
        r.netlist = turnedOver(r.netlist, engine.read(r.netlist));
        return r;
    }
    r.netlist = m_netlist;
    r.values.clear();
    for (int k = 0; k < m_symbols.size(); ++k)
        if (!m_values[k]->text().trimmed().isEmpty())
            r.values.insert(m_symbols[k], m_values[k]->text().trimmed());
    r.numericOnly = allValued(r, m_symbols);
    return r;
}

} // namespace kvadra
