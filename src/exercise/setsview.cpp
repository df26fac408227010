#include "exercise/setsview.h"

#include "circuit/loader.h"
#include "exercise/copysets.h"
#include "exercise/resultcells.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/resultbox.h"
#include "twoport/explain.h"
#include "twoport/numbertext.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kvadra
{

SetsView::SetsView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_pending = plainLabel(this, QStringLiteral("lblPending"));
    m_pending->setWordWrap(true);
    m_pending->hide();
    layout->addWidget(m_pending);

    for (ParameterSet set : allParameterSets) {
        const size_t s = size_t(set);
        auto *frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("frame") + setName(set));
        setFrameCaption(frame, setName(set) + QStringLiteral(" parameters"));
        makeBold(frame);
        setBackground(frame, matrixColour(set));
        auto *grid = new QGridLayout(frame);
        grid->setVerticalSpacing(1);
        grid->setContentsMargins(6, 2, 6, 2);
        m_missing[s] = plainLabel(frame, QStringLiteral("lblMissing") + setName(set));
        m_missing[s]->setWordWrap(true);
        grid->addWidget(m_missing[s], 0, 0, 1, 6);
        for (int i = 0; i < 4; ++i) {
            const QString entry = entryName(set, i);
            Row row;
            row.name = new QLabel(entry, frame);
            row.name->setObjectName(QStringLiteral("lbl") + entry);
            row.name->setMinimumWidth(28);
            row.value = new ResultBox(frame);
            row.value->setObjectName(entry);
            row.value->setFont(programFont());
            row.value->setMinimumWidth(130);
            row.unit = plainLabel(frame, QStringLiteral("lblUnit") + entry);
            row.unit->setMinimumWidth(60);
            row.formula = plainLabel(frame, QStringLiteral("lblFormula") + entry);
            row.yours = new QLineEdit(frame);
            row.yours->setObjectName(QStringLiteral("your") + entry);
            row.yours->setFont(programFont());
            row.yours->setMinimumWidth(110);
            row.verdict = plainLabel(frame, QStringLiteral("lblVerdict") + entry);
            row.verdict->setMinimumWidth(230);
            const std::array<QWidget *, 6> cells = row.widgets();
            for (int c = 0; c < 6; ++c)
                grid->addWidget(cells[size_t(c)], i + 1, c);
            selectAllOnFocus(row.yours);
            const int si = int(s);
            connect(row.yours, &QLineEdit::textChanged, this, [this, si, i] { judgeRow(si, i); });
            connect(row.yours, &QLineEdit::textEdited, this, [this, si, i] { explainRow(si, i); });
            m_rows[s][size_t(i)] = row;
        }
        grid->setColumnStretch(5, 1);
        layout->addWidget(frame);
        m_frames[s] = frame;
    }

    // What the sets say about the network as a whole.
    auto *properties = new QHBoxLayout;
    m_reciprocal = plainLabel(this, QStringLiteral("lblReciprocal"));
    m_symmetric = plainLabel(this, QStringLiteral("lblSymmetric"));
    properties->addWidget(m_reciprocal);
    properties->addWidget(m_symmetric);
    properties->addStretch(1);
    layout->addLayout(properties);
    auto *equivalents = new QHBoxLayout;
    for (auto [frame, label, name, caption] :
         {std::tuple{&m_teeFrame, &m_tee, "Tee", "Equivalent T (from Z)"},
          std::tuple{&m_piFrame, &m_pi, "Pi", "Equivalent Π (from Y)"}}) {
        *frame = new QGroupBox(this);
        (*frame)->setObjectName(QStringLiteral("frame") + QLatin1String(name));
        setFrameCaption(*frame, QString::fromUtf8(caption));
        makeBold(*frame);
        *label = plainLabel(*frame, QStringLiteral("lbl") + QLatin1String(name));
        (new QVBoxLayout(*frame))->addWidget(*label);
        equivalents->addWidget(*frame, 1);
    }
    layout->addLayout(equivalents);

    // The verdict on the value typed last, in full: the slip in plain words, or the working.
    auto *explanation = new QGroupBox(this);
    explanation->setObjectName(QStringLiteral("frameExplanation"));
    setFrameCaption(explanation, QStringLiteral("Your last value"));
    makeBold(explanation);
    m_explanation = plainLabel(explanation, QStringLiteral("lblExplanation"));
    m_explanation->setWordWrap(true);
    m_explanation->setMinimumHeight(2 * m_explanation->fontMetrics().lineSpacing());
    m_explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (new QVBoxLayout(explanation))->addWidget(m_explanation);
    layout->addWidget(explanation);
}

void SetsView::showPending(const QString &why)
{
    m_pending->setText(why);
    m_pending->setVisible(!why.isEmpty());
    if (why.isEmpty())
        return;
    // Sets left on show would belong to a network that is no longer there.
    m_analysis.reset();
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->setVisible(w == m_pending);
}

void SetsView::showAnalysis(std::shared_ptr<const circuit::Analysis> analysis,
                            const UnitPowers &units, bool keepTyped)
{
    m_analysis = std::move(analysis);
    m_units = units;
    showPending(QString());
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->setVisible(w != m_pending);
    for (ParameterSet set : allParameterSets)
        showSet(set, keepTyped);
    // Each frame lays out its own grid: one width for the formulas keeps the student's boxes in
    // one column down the window.
    int widest = 0;
    for (const auto &rows : m_rows)
        for (const Row &row : rows)
            widest = std::max(widest, row.formula->sizeHint().width());
    for (const auto &rows : m_rows)
        for (const Row &row : rows)
            row.formula->setMinimumWidth(widest);
    showProperties();
}

void SetsView::showSet(ParameterSet set, bool keepTyped)
{
    const size_t s = size_t(set);
    const circuit::SetReport &report = m_analysis->report().sets[s];
    const bool exists = report.state == circuit::SetState::Exists;
    const bool symbolic = !m_analysis->report().symbols.isEmpty();
    m_missing[s]->setText(report.reason);
    m_missing[s]->setVisible(!exists);
    for (int i = 0; i < 4; ++i) {
        const Row &row = m_rows[s][size_t(i)];
        for (QWidget *w : row.widgets())
            w->setVisible(exists);
        row.formula->setVisible(exists && symbolic);
        if (!keepTyped)
            row.yours->clear();
        if (!exists)
            continue;
        const circuit::Exact &e = report.entries[size_t(i)];
        const QString entry = entryName(set, i);
        const QString unit = displayUnit(entryKind(set, i), m_units);
        const QString shown = e.known ? writeNumber(e.decimal) : QString();
        row.value->setText(shown);
        row.value->setCursorPosition(0);
        row.value->setAccessibleName(withUnit(entry, unit));
        const std::optional<QString> exact =
            showsMoreThanDecimal(e) ? std::optional(e.exact) : std::nullopt;
        row.unit->setText(
            unit + (exact ? QStringLiteral(" = ") + withUnit(fitted(*exact), unit) : QString()));
        row.unit->setToolTip(exact ? withUnit(*exact, unit) : QString());
        const QString formula =
            e.formulaTooLong
                ? QStringLiteral("= a formula of %1 terms: too long to show").arg(e.formulaTerms)
                : QStringLiteral("= ") + e.formula;
        // A long formula would push the student's box out of sight: it is cut, whole in the
        // tooltip and to a screen reader.
        const QFontMetrics metrics = row.formula->fontMetrics();
        const QString fitting =
            metrics.elidedText(formula, Qt::ElideRight, 40 * metrics.averageCharWidth());
        row.formula->setText(fitting);
        row.formula->setToolTip(fitting == formula ? QString() : formula);
        row.formula->setAccessibleName(entry + QLatin1Char(' ') + formula);
        row.yours->setAccessibleName(QStringLiteral("Your ") + withUnit(entry, unit));
        explain(row.value, (e.known ? resultHeadline(entry, shown, unit, exact)
                                    : entry + QStringLiteral(" = ") + e.formula) +
                               QLatin1Char('\n') + e.working);
        judgeRow(int(s), i);
    }
}

void SetsView::showProperties()
{
    const circuit::Report &report = m_analysis->report();
    auto mark = [](const std::optional<bool> &property, const QString &yes, const QString &no,
                   const QString &unknown) { return property ? (*property ? yes : no) : unknown; };
    m_reciprocal->setText(mark(report.reciprocal, QStringLiteral("✓ reciprocal: z12 = z21"),
                               QStringLiteral("✗ not reciprocal: z12 ≠ z21"),
                               QStringLiteral("reciprocity cannot be told")));
    m_symmetric->setText(
        mark(report.symmetric, QStringLiteral("✓ symmetric: the ports can be swapped"),
             QStringLiteral("✗ not symmetric"), QStringLiteral("symmetry cannot be told")));
    // The T's branches are impedances and the Π's admittances, its controlled source included.
    for (auto [frame, label, equivalent, kind] :
         {std::tuple{m_teeFrame, m_tee, &report.tee, Quantity::Resistance},
          std::tuple{m_piFrame, m_pi, &report.pi, Quantity::Conductance}}) {
        frame->setVisible(equivalent->exists);
        const QString unit = displayUnit(kind, m_units);
        // A branch a line: short lines need no wrapping, which costs every layout pass.
        QStringList lines = equivalent->description.split(QStringLiteral(", "));
        for (const auto &[name, value] : equivalent->parts)
            lines << name + QStringLiteral(" = ") +
                         (value.known ? withUnit(writeNumber(value.decimal), unit) : value.formula);
        label->setText(lines.join(QLatin1Char('\n')));
    }
}

void SetsView::judgeRow(int set, int entry)
{
    if (!m_analysis)
        return;
    const Row &row = m_rows[size_t(set)][size_t(entry)];
    circuit::Verdict v;
    {
        const circuit::EngineLock lock;
        v = m_analysis->judge(ParameterSet(set), entry, row.yours->text());
    }
    row.verdict->setText(verdictMark(v.kind) + v.brief);
    explain(row.verdict, v.text);
    row.yours->setAccessibleDescription(v.text);
    if (m_explained == std::pair{set, entry})
        explainRow(set, entry);
}

void SetsView::explainRow(int set, int entry)
{
    m_explained = {set, entry};
    const QString text = m_rows[size_t(set)][size_t(entry)].verdict->toolTip();
    m_explanation->setText(text.isEmpty()
                               ? QString()
                               : entryName(ParameterSet(set), entry) + QStringLiteral(": ") + text);
}

QString SetsView::copy(CopyFlavour flavour) const
{
    if (!m_analysis)
        return QString();
    CopyText copy(flavour);
    if (copy.latex())
        copy.note(QStringLiteral("Needs \\usepackage{amsmath} for its matrices."));
    for (ParameterSet set : allParameterSets) {
        copySet(copy, set, m_analysis->report().sets[size_t(set)], m_units,
                m_analysis->report().unvalued, setName(set) + QStringLiteral(" parameters"));
    }
    return copy.text();
}

} // namespace kvadra
