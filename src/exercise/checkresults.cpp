#include "exercise/checkresults.h"

#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/messagebox.h"
#include "shell/resultbox.h"
#include "twoport/explain.h"
#include "twoport/judge.h"
#include "twoport/numbertext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kvadra
{

namespace
{
QString verdictMark(Verdict::Kind kind)
{
    switch (kind) {
    case Verdict::Match:
        return QStringLiteral("✓ ");
    case Verdict::Slip:
    case Verdict::Unexplained:
        return QStringLiteral("✗ ");
    default:
        return QString();
    }
}
} // namespace

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
    auto *hint = new QLabel(QStringLiteral("Type your own result beside each value: it is judged "
                                           "as you type. Hover over a value, or press Shift+F1 "
                                           "on it, for its working."),
                            this);
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->setSpacing(4);

    for (ParameterSet set : allParameterSets) {
        const int s = int(set);
        auto *frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("frame") + setName(set));
        setFrameCaption(frame, setName(set) + QStringLiteral(" parameters"));
        makeBold(frame);
        setBackground(frame, matrixColour(set));
        auto *grid = new QGridLayout(frame);
        grid->setVerticalSpacing(1);
        grid->setContentsMargins(6, 2, 6, 2);
        m_missing[size_t(s)] = new QLabel(frame);
        m_missing[size_t(s)]->setObjectName(QStringLiteral("lblMissing") + setName(set));
        m_missing[size_t(s)]->setWordWrap(true);
        m_missing[size_t(s)]->setFont(programFont());
        grid->addWidget(m_missing[size_t(s)], 0, 0, 1, 5);
        for (int i = 0; i < 4; ++i) {
            const QString entry = entryName(set, i);
            auto *name = new QLabel(entry, frame);
            name->setObjectName(QStringLiteral("lbl") + entry);
            name->setMinimumWidth(28);
            auto *value = new ResultBox(frame);
            value->setObjectName(entry);
            value->setMinimumWidth(130);
            auto *unit = new QLabel(frame);
            unit->setObjectName(QStringLiteral("lblUnit") + entry);
            unit->setFont(programFont());
            unit->setMinimumWidth(110);
            auto *yours = new QLineEdit(frame);
            yours->setObjectName(QStringLiteral("your") + entry);
            yours->setFont(programFont());
            yours->setMinimumWidth(110);
            auto *verdict = new QLabel(frame);
            verdict->setObjectName(QStringLiteral("lblVerdict") + entry);
            verdict->setFont(programFont());
            verdict->setMinimumWidth(230);
            value->setFont(programFont());
            grid->addWidget(name, i + 1, 0);
            grid->addWidget(value, i + 1, 1);
            grid->addWidget(unit, i + 1, 2);
            grid->addWidget(yours, i + 1, 3);
            grid->addWidget(verdict, i + 1, 4);
            selectAllOnFocus(yours);
            connect(yours, &QLineEdit::textChanged, this, [this, s, i] { judgeRow(s, i); });
            connect(yours, &QLineEdit::textEdited, this, [this, s, i] { explainRow(s, i); });
            m_rows[size_t(s)][size_t(i)] = Row{name, value, unit, yours, verdict};
        }
        grid->setColumnStretch(4, 1);
        layout->addWidget(frame);
        m_frames[size_t(s)] = frame;
    }
    // The verdict on the value typed last, in full: the slip in plain words, or the working.
    auto *explanation = new QGroupBox(this);
    explanation->setObjectName(QStringLiteral("frameExplanation"));
    setFrameCaption(explanation, QStringLiteral("Your last value"));
    makeBold(explanation);
    m_explanation = new QLabel(explanation);
    m_explanation->setObjectName(QStringLiteral("lblExplanation"));
    m_explanation->setFont(programFont());
    m_explanation->setWordWrap(true);
    m_explanation->setMinimumHeight(2 * m_explanation->fontMetrics().lineSpacing());
    m_explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (new QVBoxLayout(explanation))->addWidget(m_explanation);
    layout->addWidget(explanation);
}

std::array<QWidget *, 5> CheckResults::Row::widgets() const
{
    return {name, value, unit, yours, verdict};
}

void CheckResults::follow(const ElementInput &input)
{
    const bool sameSchematic = input.schematic == m_input.schematic;
    m_input = input;
    m_sets = computeSets(input);
    const Schematic &schematic = *input.schematic;
    const QString elements =
        elementValues(schematic, input.values,
                      displayUnit(schematic.family == Family::Resistance ? Quantity::Resistance
                                                                         : Quantity::Conductance,
                                  input.units));
    m_heading->setText(QStringLiteral("Schematic ") + QLatin1String(schematic.name) +
                       (elements.isEmpty() ? QString() : QStringLiteral(": ") + elements));
    bool singular = false;
    for (ParameterSet set : allParameterSets) {
        const int s = int(set);
        const std::optional<SetResult> &result = m_sets[size_t(s)];
        const QStringList reason = missingSetReason(schematic, set);
        singular = singular || (result && result->singular);
        m_missing[size_t(s)]->setText(
            result && result->singular
                ? QStringLiteral("These values make the ") + setName(set) +
                      QStringLiteral(" matrix singular: it cannot be computed.")
                : reason.join(' '));
        m_missing[size_t(s)]->setVisible(!result || result->singular);
        for (int i = 0; i < 4; ++i) {
            const Row &row = m_rows[size_t(s)][size_t(i)];
            const bool shown = result && !result->singular;
            for (QWidget *w : row.widgets())
                w->setVisible(shown);
            if (!sameSchematic)
                row.yours->clear();
            if (!shown)
                continue;
            const QString entry = entryName(set, i);
            const QString unitText = displayUnit(entryKind(set, i), input.units);
            const QString shownValue = writeNumber(result->values[size_t(i)]);
            const std::optional<QString> &fraction = result->fraction[size_t(i)];
            row.value->setText(shownValue);
            row.value->setCursorPosition(0);
            row.value->setAccessibleName(withUnit(entry, unitText));
            row.unit->setText(
                unitText +
                (fraction ? QStringLiteral(" = ") + withUnit(*fraction, unitText) : QString()));
            row.yours->setAccessibleName(QStringLiteral("Your ") + withUnit(entry, unitText));
            explain(row.value, resultHeadline(entry, shownValue, unitText, fraction) + '\n' +
                                   result->working[size_t(i)]);
            judgeRow(s, i);
        }
    }
    if (singular)
        showInputError(this);
}

void CheckResults::judgeRow(int set, int entry)
{
    const Row &row = m_rows[size_t(set)][size_t(entry)];
    const Verdict v = judge(row.yours->text(), ParameterSet(set), entry, m_sets);
    row.verdict->setText(verdictMark(v.kind) + v.brief);
    explain(row.verdict, v.text);
    row.yours->setAccessibleDescription(v.text);
    if (m_explained == std::pair{set, entry})
        explainRow(set, entry);
}

void CheckResults::explainRow(int set, int entry)
{
    m_explained = {set, entry};
    const QString text = m_rows[size_t(set)][size_t(entry)].verdict->toolTip();
    m_explanation->setText(text.isEmpty()
                               ? QString()
                               : entryName(ParameterSet(set), entry) + QStringLiteral(": ") + text);
}

} // namespace kvadra
