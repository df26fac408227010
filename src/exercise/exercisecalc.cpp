#include "exercise/exercisecalc.h"

#include "exercise/calcboxes.h"
#include "exercise/checkresults.h"

#include "resources/picturewidgets.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/messagebox.h"
#include "shell/resultbox.h"
#include "shell/twoportmain.h"
#include "twoport/calcerror.h"
#include "twoport/missingmatrix.h"
#include "twoport/numbertext.h"
#include "twoport/units.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace kvadra
{

namespace
{
// Nothing where the core cannot be loaded: the tooltips then go without their fractions.
circuit::AnalysisPtr exactly(const ElementInput &input)
{
    const circuit::Engine *engine = circuit::circuitEngine();
    return engine ? circuit::analyseLocked(*engine, coreRequest(input, *engine, true)) : nullptr;
}

const QColor lightGrey(200, 200, 200);
} // namespace

ExerciseCalc::ExerciseCalc(TwoportMain &main) : ToolWindow(main, Name, 8)
{
    setWindowTitle(QStringLiteral("Calculator"));
    setFixedWindow(this, 467, 298, true);

    // The two outer frames are the only ones in the normal face.
    QGroupBox *inputAll =
        makeFrame(this, "frmInputAll", QStringLiteral("Input data"), 8, 8, 193, 281);
    inputAll->setFont(programFont());
    QLabel *backdrop = makeLabel(inputAll, "Label9", QString(), 16, 24, 161, 105);
    setBackground(backdrop, Qt::white);
    m_picture = new PictureBox(inputAll);
    m_picture->setObjectName(QStringLiteral("picSchem"));
    m_picture->setGeometry(24, 32, 145, 89);

    m_frmInput =
        makeFrame(inputAll, "frmInput", QStringLiteral("Resistor values"), 16, 136, 161, 105);
    setBackground(m_frmInput, Qt::white);
    const char *inNames[3] = {"in1", "in2", "in3"};
    const char *valNames[3] = {"val1", "val2", "val3"};
    for (int k = 0; k < 3; ++k) {
        const int top = 24 + 24 * k;
        m_inLabels[size_t(k)] = makeBoldLabel(
            m_frmInput, inNames[k], QStringLiteral("R%1").arg(k + 1), 8, top + 3, Qt::white);
        m_values[size_t(k)] = makeEdit(m_frmInput, valNames[k], QString(), 40, top, 105, 19);
        selectAllOnFocus(m_values[size_t(k)]);
    }
    m_calculate =
        makeButton(inputAll, "cmdCalculate", QStringLiteral("Calculate"), 16, 248, 161, 25);
    for (QLineEdit *value : m_values)
        connect(value, &QLineEdit::returnPressed, m_calculate, &QPushButton::click);

    QGroupBox *outputAll = makeFrame(
        this, "frmOutputAll", QStringLiteral("Computed twoport parameters"), 216, 8, 241, 281);
    outputAll->setFont(programFont());
    m_frmZ = makeFrame(outputAll, "frmZ", QStringLiteral("Z parameters"), 16, 24, 209, 105);
    setBackground(m_frmZ, matrixColour(ParameterSet::Z));
    const char *zLabels[4] = {"Label1", "Label2", "Label3", "Label4"};
    m_z = makeMatrix(m_frmZ, entryNames(ParameterSet::Z), zLabels, matrixColour(ParameterSet::Z));
    m_frmY = makeFrame(outputAll, "frmY", QStringLiteral("Y parameters"), 16, 136, 209, 105);
    setBackground(m_frmY, matrixColour(ParameterSet::Y));
    const char *yLabels[4] = {"Label8", "Label7", "Label6", "Label5"};
    m_y = makeMatrix(m_frmY, entryNames(ParameterSet::Y), yLabels, matrixColour(ParameterSet::Y));
    m_continue =
        makeButton(outputAll, "cmdContinue", QStringLiteral("Continue..."), 16, 248, 209, 25);
    m_continue->setEnabled(false);
    // A visible way to the check of the student's own results, in the free end of a frame's
    // caption row; it leaves every control of the calculator where it is.
    m_check = makeButton(inputAll, "cmdCheck", QStringLiteral("Check my results"), 0, 0, 0, 0);
    m_check->setFlat(true);
    QFont link = m_check->font();
    link.setUnderline(true);
    m_check->setFont(link);
    const int checkWidth = m_check->fontMetrics().horizontalAdvance(m_check->text()) +
                           2 * style()->pixelMetric(QStyle::PM_ButtonMargin);
    m_check->setGeometry(inputAll->width() - checkWidth - 2, 0, checkWidth, 17);
    m_check->setToolTip(QStringLiteral("Every parameter set of this calculation, and your own "
                                       "values judged"));
    m_check->setEnabled(false);
    connect(m_check, &QPushButton::clicked, this, &ExerciseCalc::openCheck);

    QList<QWidget *> order{m_values.begin(), m_values.end()};
    order << QList<QWidget *>{m_z.begin(), m_z.end()} << QList<QWidget *>{m_y.begin(), m_y.end()}
          << m_calculate << m_continue << m_check;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_copying = addCopyActions(outputAll, [this](bool latex) { return copyResults(latex); });
    for (const auto *boxes : {&m_z, &m_y})
        for (ResultBox *box : *boxes)
            box->addMenuActions(m_copying);

    connect(m_calculate, &QPushButton::clicked, this, &ExerciseCalc::calculate);
    connect(m_continue, &QPushButton::clicked, this, [this] { this->main().TestInProgress(); });
}

void ExerciseCalc::prepare(qint16 schemNumber, const QString &schemName, const QString &ohmPrefix,
                           const QString &siemensPrefix)
{
    m_continue->setEnabled(false);
    m_picture->setPictureName(schematicPictureName(schemName));
    m_frmInput->setEnabled(true);
    for (QLineEdit *value : m_values)
        value->setEnabled(false);
    for (QLabel *label : m_inLabels)
        setTextColour(label, lightGrey);
    for (const auto *boxes : {&m_z, &m_y})
        for (ResultBox *box : *boxes) {
            box->clear();
            explain(box, QString());
        }
    explain(m_frmZ, QString());
    explain(m_frmY, QString());
    announceMissing(QString());
    m_results = CalculatorResults{};
    m_results.schematic = schematicByNumber(schemNumber);
    m_results.zUnit = ohmPrefix + QStringLiteral("Ohm");
    m_results.yUnit = siemensPrefix + QStringLiteral("S");
    if (m_results.schematic)
        m_results.elementUnit =
            m_results.schematic->family == Family::Resistance ? m_results.zUnit : m_results.yUnit;
    // Nothing to copy or check until something has been calculated.
    for (QAction *action : m_copying)
        action->setEnabled(false);
    m_check->setEnabled(false);
    m_frmZ->setEnabled(true);
    m_frmY->setEnabled(true);
    setFrameCaption(m_frmZ, QStringLiteral("Z parameters (") + ohmPrefix + QStringLiteral("Ohm)"));
    setFrameCaption(m_frmY,
                    QStringLiteral("Y parameters (") + siemensPrefix + QStringLiteral("S)"));

    if (const Schematic *s = schematicByNumber(schemNumber)) {
        const bool conductance = s->family == Family::Conductance;
        setFrameCaption(m_frmInput,
                        conductance ? QStringLiteral("Conductivity values (") + siemensPrefix + "S)"
                                    : QStringLiteral("Resistor values (") + ohmPrefix + "Ohm)");
        for (int k = 0; k < 3; ++k)
            m_inLabels[size_t(k)]->setText(
                (conductance ? QStringLiteral("G") : QStringLiteral("R")) + QString::number(k + 1));
    }
    // Each box is heard by its own label and unit, not by its frame's caption.
    const QString elementUnit = m_results.elementUnit;
    for (int k = 0; k < 3; ++k)
        m_values[size_t(k)]->setAccessibleName(m_inLabels[size_t(k)]->text() +
                                               QStringLiteral(" (") + elementUnit + ')');
    for (const auto &[boxes, unit] :
         {std::pair{&m_z, m_results.zUnit}, std::pair{&m_y, m_results.yUnit}})
        for (ResultBox *box : *boxes)
            box->setAccessibleName(box->objectName() + QStringLiteral(" (") + unit + ')');

    for (int k = 0; k < 3; ++k) {
        QLineEdit *value = m_values[size_t(k)];
        if (schemName.contains(QString::number(k + 1))) {
            value->setEnabled(true);
            setTextColour(m_inLabels[size_t(k)], Qt::black);
            value->clear();
        } else {
            value->setText(QStringLiteral("0"));
        }
    }
}

void ExerciseCalc::calculate()
{
    try {
        // Read afresh: the texts are converted in box order and a bad one stops the rest.
        const double v1 = readNumber(m_values[0]->text());
        const double v2 = readNumber(m_values[1]->text());
        const double v3 = readNumber(m_values[2]->text());
        SharedState &state = main().state();
        const Schematic *s = schematicByNumber(state.schemNumber());
        if (s) {
            const ElementInput input{
                s,
                {m_values[0]->text(), m_values[1]->text(), m_values[2]->text()},
                {v1, v2, v3},
                state.units()};
            // Y before Z: in the conductance family the direct Y is shown even when the
            // inversion for Z then fails.
            const circuit::AnalysisPtr exact = exactly(input);
            runProcedure(s->yProcedure, input, exact.get());
            runProcedure(s->zProcedure, input, exact.get());
            state.setYExists(s->yExists() ? 1 : 0);
            state.setZExists(s->zExists() ? 1 : 0);
            m_frmZ->setEnabled(s->zExists());
            m_frmY->setEnabled(s->yExists());
            explainMissing(m_frmZ, true);
            explainMissing(m_frmY, false);
            announceMissing(
                (missingMatrixReason(*s, true) + missingMatrixReason(*s, false)).join(' '));
            m_lastSuccess = input;
            m_check->setEnabled(true);
            if (CheckResults *check = main().windows().find<CheckResults>())
                check->follow(*m_lastSuccess);
        }
        if (state.currentMode() == 2)
            m_continue->setEnabled(true);
    } catch (const CalcError &) {
        showInputError(this);
    }
}

void ExerciseCalc::runProcedure(Procedure procedure, const ElementInput &input,
                                const circuit::Analysis *exact)
{
    if (procedure == Procedure::None)
        return;
    const Calculation c{input.schematic, input.values, m_results.elementUnit, m_results.zUnit,
                        m_results.yUnit};
    SharedState &state = main().state();
    ProcedureTrace trace;
    const Matrix m = kvadra::runProcedure(procedure, c.values[0], c.values[1], c.values[2],
                                          state.ohmDisplay(), state.siemensDisplay(), &trace);
    const bool z = givesZ(procedure);
    if (z) {
        state.setPz11(m[0]);
        state.setPz12(m[1]);
        state.setPz21(m[2]);
        state.setPz22(m[3]);
    } else {
        state.setPy11(m[0]);
        state.setPy12(m[1]);
        state.setPy21(m[2]);
        state.setPy22(m[3]);
    }
    (z ? m_results.z : m_results.y) = ComputedMatrix{c.values, m};
    for (QAction *action : m_copying)
        action->setEnabled(true);
    const auto &boxes = z ? m_z : m_y;
    const circuit::SetReport *set =
        exact ? &exact->report().sets[size_t(z ? ParameterSet::Z : ParameterSet::Y)] : nullptr;
    const bool fractions = set && set->state == circuit::SetState::Exists;
    for (int i = 0; i < 4; ++i)
        showResult(boxes[size_t(i)], writeNumber(m[size_t(i)]),
                   fractions ? shortFraction(set->entries[size_t(i)]) : std::nullopt,
                   z ? c.zUnit : c.yUnit, explainEntry(c, procedure, trace, i));
}

void ExerciseCalc::explainMissing(QGroupBox *frame, bool z)
{
    // The physics and the algebra on a line each: a tooltip does not wrap by itself.
    explain(frame, frame->isEnabled()
                       ? QString()
                       : missingMatrixReason(*m_results.schematic, z).join(QLatin1Char('\n')));
}

void ExerciseCalc::announceMissing(const QString &reasons)
{
    // A disabled frame is out of the keyboard's and a screen reader's reach; Calculate, where the
    // focus is after a calculation, says what is missing and why.
    m_calculate->setAccessibleDescription(reasons);
    m_calculate->setWhatsThis(reasons);
}

void ExerciseCalc::openCheck()
{
    if (!m_lastSuccess)
        return;
    if (CheckResults *open = main().windows().find<CheckResults>())
        open->follow(*m_lastSuccess);
    main().windows().show<CheckResults>(
        [this](CheckResults *check) { check->follow(*m_lastSuccess); });
}

void ExerciseCalc::unload()
{
    // The check shows this window's calculation and goes with it.
    main().windows().close<CheckResults>();
    ToolWindow::unload();
}

QString ExerciseCalc::copyResults(bool latex) const
{
    if (!m_results.z && !m_results.y)
        return QString();
    return calculatorCopy(m_results, latex ? CopyFlavour::Latex : CopyFlavour::Text);
}

} // namespace kvadra
