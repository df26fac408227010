#include "exercise/checkresults.h"

#include "circuit/loader.h"
#include "exercise/networktabs.h"
#include "shell/appearance.h"
#include "twoport/explain.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kvadra
{

CheckResults::CheckResults(QWidget *parent) : QWidget(parent)
{
    setObjectName(QLatin1String(Name));
    setWindowTitle(QStringLiteral("Check my results"));
    setUpWindow(this, false, true);

    auto *layout = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("lblHeading"));
    m_heading->setWordWrap(true);
    layout->addWidget(m_heading);
    auto *hint = new QLabel(QStringLiteral("Type your own result beside each value, as a number, "
                                           "a fraction or a formula in the element names: it is "
                                           "judged as you type. Hover over a value, or press "
                                           "Shift+F1 on it, for its working."),
                            this);
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->setSpacing(4);

    m_tabs = new NetworkTabs(this);
    m_tabs->setObjectName(QStringLiteral("tabsCheck"));
    connect(m_tabs, &NetworkTabs::openNetlist, this, &CheckResults::openNetlist);
    layout->addWidget(m_tabs);
}

void CheckResults::follow(const ElementInput &input)
{
    const bool sameSchematic = input.schematic == m_input.schematic;
    m_input = input;
    const Schematic &schematic = *input.schematic;
    const QString elements =
        elementValues(schematic, input.values,
                      displayUnit(schematic.family == Family::Resistance ? Quantity::Resistance
                                                                         : Quantity::Conductance,
                                  input.units));
    m_heading->setText(QStringLiteral("Schematic ") + QLatin1String(schematic.name) +
                       (elements.isEmpty() ? QString() : QStringLiteral(": ") + elements));
    QString why;
    const circuit::Engine *engine = circuit::circuitEngine(&why);
    if (!engine) {
        m_tabs->showPending(QStringLiteral("The exact results cannot be worked out: ") + why);
        return;
    }
    const circuit::Request request = coreRequest(input, *engine, false);
    if (circuit::AnalysisPtr analysis = circuit::analyseLocked(*engine, request))
        m_tabs->showNetwork(std::move(analysis), request, sameSchematic);
}

} // namespace kvadra
