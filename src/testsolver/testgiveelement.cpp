#include "testsolver/testgiveelement.h"

#include "shell/appearance.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/twoportmain.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

namespace kvadra
{

TestGiveElement::TestGiveElement(TwoportMain &main) : ToolWindow(main, Name, 16)
{
    setWindowTitle(QStringLiteral("Test solver"));
    setFixedWindow(this, tw(3270), tw(4350), false);

    QGroupBox *choose = makeFrame(this, "Frame1", QStringLiteral("Choose a parameter to compare"),
                                  tw(120), tw(120), tw(3015), tw(2175));
    const struct {
        const char *frame, *caption;
        int left, height;
        ParameterSet kind;
    } matrices[] = {
        {"frameZ", "Z parameters", 120, 1600, ParameterSet::Z},
        {"frameY", "Y parameters", 1560, 1575, ParameterSet::Y},
    };
    for (const auto &m : matrices) {
        QGroupBox *frame = makeFrame(choose, m.frame, QLatin1String(m.caption), tw(m.left), tw(360),
                                     tw(1335), tw(m.height));
        setBackground(frame, matrixColour(m.kind));
        const int firstCode = m.kind == ParameterSet::Z ? 0 : 4;
        makeButtonGrid(frame, entryNames(m.kind), [this, firstCode](int i) {
            this->main().CompareMatrices(QVariant::fromValue(qint16(firstCode + i)));
        });
    }

    QGroupBox *answer =
        makeFrame(this, "Frame2", QStringLiteral("Answer"), tw(120), tw(2400), tw(3015), tw(1215));
    QLabel *label = makeLabel(answer, "Label1",
                              QStringLiteral("This parameter value is the same as in the INITIAL "
                                             "in the following cases:"),
                              tw(120), tw(240), tw(2775), tw(615));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const char *checkNames[4] = {"Check1", "Check2", "Check3", "Check4"};
    for (int k = 0; k < 4; ++k) {
        QCheckBox *check = makeCheck(answer, checkNames[k], QString(QChar('A' + k)),
                                     tw(240 + 720 * k), tw(840), tw(495), tw(195));
        makeBold(check);
        check->setAccessibleName(QStringLiteral("Case ") + QChar('A' + k));
        // Display only: however the box is toggled (a click, Space, a screen reader's toggle
        // action), it goes straight back to its answer.
        connect(check, &QCheckBox::toggled, this, &TestGiveElement::CheckBoxes);
        m_checks[size_t(k)] = check;
    }

    QPushButton *exit =
        makeButton(this, "Command1", QStringLiteral("Exit"), tw(120), tw(3840), tw(3015), tw(375));
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

void TestGiveElement::load()
{
    Achecked = 0;
    Bchecked = 0;
    Cchecked = 0;
    Dchecked = 0;
    ToolWindow::load();
}

void TestGiveElement::CheckBoxes()
{
    const qint16 answers[4] = {Achecked, Bchecked, Cchecked, Dchecked};
    for (size_t k = 0; k < 4; ++k)
        m_checks[k]->setChecked(answers[k] == 1);
}

void TestGiveElement::setExplanations(const std::array<QString, 4> &explanations)
{
    for (size_t k = 0; k < 4; ++k)
        explain(m_checks[k], explanations[k]);
}

} // namespace kvadra
