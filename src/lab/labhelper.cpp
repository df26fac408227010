#include "lab/labhelper.h"

#include "lab/labformula.h"
#include "resources/picturewidgets.h"
#include "shell/messagebox.h"
#include "shell/resultbox.h"
#include "shell/twoportmain.h"
#include "shell/appearance.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "twoport/calcerror.h"
#include "twoport/explain.h"
#include "twoport/numbertext.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kvadra
{

LabHelper::LabHelper(TwoportMain &main) : ToolWindow(main, Name, 2)
{
    setWindowTitle(QStringLiteral("Lab helper"));
    // Resizable, with a minimize box and no maximize box; the controls keep their places.
    setUpWindow(this, false, true);
    resize(tw(6630), tw(4500));
    setMinimumSize(size());

    // Created first so that the window opens with the focus on Calculate.
    QGroupBox *answer = makeFrame(this, "frameAnswer", QStringLiteral("Step 2"), tw(120), tw(3120),
                                  tw(6375), tw(1215));
    QPushButton *calculate = makeButton(answer, "btnCalculate", QStringLiteral("Calculate"),
                                        tw(120), tw(360), tw(3015), tw(735));
    m_lblParameter = makeLabel(answer, "lblParameter", QStringLiteral("Parameter ___ value:"),
                               tw(3360), tw(360), tw(2535), tw(255));
    makeBold(m_lblParameter);
    m_answer = makeResult(answer, "txtLabAnswer", tw(3360), tw(720), tw(2895), tw(285));

    QGroupBox *measure = makeFrame(this, "frameMeasure", QStringLiteral("Step 1"), tw(120), tw(120),
                                   tw(6375), tw(2895));
    makeLabel(measure, "Label1", QStringLiteral("Complete the following measurements:"), tw(120),
              tw(360), tw(3135), tw(255));
    m_picLab = new PictureBox(measure);
    m_picLab->setObjectName(QStringLiteral("picLab"));
    m_picLab->setGeometry(tw(120), tw(720), tw(3885), tw(1995));
    setBackground(m_picLab, Qt::white);
    m_picLab->setFocusPolicy(Qt::StrongFocus);
    m_frameMeasure1 = makeFrame(measure, "frameMeasure1", QStringLiteral("U1"), tw(4200), tw(720),
                                tw(2055), tw(855));
    m_measure1 =
        makeEdit(m_frameMeasure1, "txtMeasure1", QString(), tw(120), tw(360), tw(1815), tw(285));
    m_frameMeasure2 = makeFrame(measure, "frameMeasure2", QStringLiteral("I1"), tw(4200), tw(1680),
                                tw(2055), tw(855));
    m_measure2 =
        makeEdit(m_frameMeasure2, "txtMeasure2", QString(), tw(120), tw(360), tw(1815), tw(285));
    for (QLineEdit *box : {m_measure1, m_measure2}) {
        selectAllOnFocus(box);
        connect(box, &QLineEdit::returnPressed, calculate, &QPushButton::click);
    }

    setTabOrder(calculate, m_answer);
    setTabOrder(m_answer, m_measure1);
    setTabOrder(m_measure1, m_measure2);
    setTabOrder(m_measure2, m_picLab);

    m_copying = addCopyActions(answer, [this](bool latex) { return copyResults(latex); });
    // Nothing to copy until something has been calculated.
    for (QAction *action : m_copying)
        action->setEnabled(false);
    m_answer->addMenuActions(m_copying);

    connect(calculate, &QPushButton::clicked, this, &LabHelper::calculate);
}

void LabHelper::calculate()
{
    try {
        const SharedState &state = main().state();
        const qint16 equation = state.labEquation();
        const QString text1 = m_measure1->text();
        const QString text2 = m_measure2->text();
        main().checkInput(text1, text2);
        const double m1 = readNumber(text1);
        const double m2 = readNumber(text2);
        const UnitPowers units = state.units();
        const std::optional<double> value = labValue(equation, m1, m2, units);
        if (!value)
            return;
        const QString shown = writeNumber(*value);
        m_answer->setText(shown);
        const QString param = state.curLabParam();
        const LabParameter *parameter = labParameter(param);
        if (parameter) {
            m_last = LabReading{parameter, units, m1, m2, *value};
            for (QAction *action : m_copying)
                action->setEnabled(true);
        }
        explain(m_answer, parameter ? resultHeadline(param, shown, answerUnit(*parameter, units)) +
                                          '\n' + labExplanation(*parameter, m1, m2, units, shown)
                                    : QString());
        const QString expected = labSignWarning(equation, param, *value);
        if (!expected.isEmpty())
            messageBox(this,
                       QStringLiteral("Warning! The ") + param +
                           QStringLiteral(" parameter should have a ") + expected +
                           QStringLiteral(" value."),
                       BoxStyle::OkInformation);
    } catch (const CalcError &) {
        showInputError(this);
    }
}

void LabHelper::setCaptions(const QString &measure1, const QString &measure2,
                            const QString &parameter)
{
    setFrameCaption(m_frameMeasure1, measure1);
    setFrameCaption(m_frameMeasure2, measure2);
    m_lblParameter->setText(parameter);
    m_measure1->setAccessibleName(measure1);
    m_measure2->setAccessibleName(measure2);
    m_answer->setAccessibleName(parameter);
}

QString LabHelper::copyResults(bool latex) const
{
    return m_last ? labCopy(*m_last, latex ? CopyFlavour::Latex : CopyFlavour::Text) : QString();
}

} // namespace kvadra
