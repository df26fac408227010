#include "exercise/terminatedview.h"

#include "exercise/resultcells.h"
#include "exercise/terminatedquantities.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/resultbox.h"
#include "twoport/explain.h"
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
QLineEdit *terminationEdit(QWidget *parent, const QString &name, const QString &text,
                           const QString &placeholder, const QString &what)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setFont(programFont());
    edit->setPlaceholderText(placeholder);
    edit->setMinimumWidth(110);
    edit->setAccessibleName(what);
    explain(edit, what + QStringLiteral(": a value as in a netlist (1k, 4k7, 5/11, 2mS), or a "
                                        "symbol for a formula. The unit is the ohm whatever "
                                        "the display units; S makes it a conductance."));
    selectAllOnFocus(edit);
    return edit;
}
} // namespace

TerminatedView::TerminatedView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto *ends = new QHBoxLayout;
    // An ideal source and a load a student meets on paper: a kilohm.
    m_zs = terminationEdit(this, QStringLiteral("txtZs"), QStringLiteral("0"),
                           QStringLiteral("0: an ideal source"),
                           QStringLiteral("Source impedance Zs at port 1"));
    m_zl =
        terminationEdit(this, QStringLiteral("txtZL"), QStringLiteral("1k"),
                        QStringLiteral("empty: port 2 open"), QStringLiteral("Load ZL at port 2"));
    for (auto [caption, edit] : {std::pair{"Source Zs:", m_zs}, std::pair{"Load ZL:", m_zl}}) {
        auto *label = plainLabel(this, QStringLiteral("lbl") + edit->objectName().mid(3));
        label->setText(QString::fromUtf8(caption));
        label->setBuddy(edit);
        ends->addWidget(label);
        ends->addWidget(edit);
        connect(edit, &QLineEdit::textChanged, this, &TerminatedView::terminate);
    }
    ends->addStretch(1);
    layout->addLayout(ends);
    m_error = plainLabel(this, QStringLiteral("lblTerminatedError"));
    m_error->setWordWrap(true);
    m_error->hide();
    layout->addWidget(m_error);

    auto *frame = new QGroupBox(this);
    m_frame = frame;
    frame->setObjectName(QStringLiteral("frameTerminated"));
    setFrameCaption(frame, QStringLiteral("Between the source and the load"));
    makeBold(frame);
    auto *grid = new QGridLayout(frame);
    grid->setVerticalSpacing(1);
    grid->setContentsMargins(6, 2, 6, 2);
    for (int q = 0; q < quantityCount; ++q) {
        const QString name = QLatin1String(terminatedQuantities()[size_t(q)].name);
        Row row;
        row.name = plainLabel(frame, QStringLiteral("lbl") + name);
        row.name->setText(name);
        row.name->setMinimumWidth(36);
        explain(row.name, name + QStringLiteral(", the ") +
                              QString::fromUtf8(terminatedQuantities()[size_t(q)].what));
        row.value = new ResultBox(frame);
        row.value->setObjectName(name);
        row.value->setFont(programFont());
        row.value->setMinimumWidth(130);
        row.unit = plainLabel(frame, QStringLiteral("lblUnit") + name);
        row.unit->setMinimumWidth(110);
        row.formula = plainLabel(frame, QStringLiteral("lblFormula") + name);
        row.formula->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long formula wraps rather than pushing the student's box out of sight.
        row.formula->setWordWrap(true);
        row.formula->setMinimumWidth(200);
        row.formula->setMaximumWidth(420);
        row.yours = new QLineEdit(frame);
        row.yours->setObjectName(QStringLiteral("your") + name);
        row.yours->setFont(programFont());
        row.yours->setMinimumWidth(110);
        row.verdict = plainLabel(frame, QStringLiteral("lblVerdict") + name);
        row.verdict->setMinimumWidth(230);
        row.missing = plainLabel(frame, QStringLiteral("lblMissing") + name);
        row.missing->setWordWrap(true);
        row.missing->hide();
        const std::array<QWidget *, 6> cells = row.widgets();
        for (int c = 0; c < 6; ++c)
            grid->addWidget(cells[size_t(c)], 2 * q, c);
        grid->addWidget(row.missing, 2 * q + 1, 1, 1, 5);
        selectAllOnFocus(row.yours);
        connect(row.yours, &QLineEdit::textChanged, this, [this, q] { judgeRow(q); });
        connect(row.yours, &QLineEdit::textEdited, this, [this, q] { explainRow(q); });
        m_rows[size_t(q)] = row;
    }
    grid->setColumnStretch(5, 1);
    layout->addWidget(frame);

    // The verdict on the value typed last, in full, as the sets show it.
    auto *explanation = new QGroupBox(this);
    explanation->setObjectName(QStringLiteral("frameTerminatedExplanation"));
    setFrameCaption(explanation, QStringLiteral("Your last value"));
    makeBold(explanation);
    m_explanation = plainLabel(explanation, QStringLiteral("lblTerminatedExplanation"));
    m_explanation->setWordWrap(true);
    m_explanation->setMinimumHeight(2 * m_explanation->fontMetrics().lineSpacing());
    m_explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (new QVBoxLayout(explanation))->addWidget(m_explanation);
    layout->addWidget(explanation);
    layout->addStretch(1);
}

QString TerminatedView::zs() const
{
    const QString typed = m_zs->text().trimmed();
    return typed.isEmpty() ? QStringLiteral("0") : typed;
}

QString TerminatedView::zl() const
{
    const QString typed = m_zl->text().trimmed();
    return typed.isEmpty() ? QStringLiteral("0S") : typed;
}

void TerminatedView::setNetwork(circuit::AnalysisPtr analysis, const UnitPowers &units,
                                bool keepTyped)
{
    m_analysis = std::move(analysis);
    m_units = units;
    if (!keepTyped)
        for (const Row &row : m_rows)
            row.yours->clear();
    terminate();
}

void TerminatedView::terminate()
{
    if (!m_analysis)
        return;
    {
        const circuit::EngineLock lock;
        m_result = m_analysis->terminate(zs(), zl());
    }
    m_error->setText(m_result.error ? errorText(*m_result.error) : QString());
    m_error->setVisible(m_result.error.has_value());
    m_frame->setVisible(!m_result.error);
    for (int q = 0; q < quantityCount; ++q) {
        const QString name = QLatin1String(terminatedQuantities()[size_t(q)].name);
        std::optional<circuit::Exact> value;
        for (const auto &[n, v] : m_result.quantities)
            if (n == name)
                value = v;
        showRow(q, value, m_result.missing.value(name));
        judgeRow(q);
    }
}

void TerminatedView::showRow(int quantity, const std::optional<circuit::Exact> &value,
                             const QString &missing)
{
    const Row &row = m_rows[size_t(quantity)];
    const bool exists = value.has_value();
    for (QWidget *w : row.widgets())
        w->setVisible(exists || w == row.name);
    row.missing->setText(missing);
    row.missing->setVisible(!exists);
    if (!exists) {
        row.value->clear();
        return;
    }
    const circuit::Exact &e = *value;
    const QString name = row.value->objectName();
    const QString unit = terminatedUnit(quantity, m_units);
    const QString shown = e.known ? writeNumber(e.decimal) : QString();
    row.value->setText(shown);
    row.value->setCursorPosition(0);
    row.value->setAccessibleName(withUnit(name, unit));
    const std::optional<QString> exact =
        showsMoreThanDecimal(e) ? std::optional(e.exact) : std::nullopt;
    row.unit->setText(unit +
                      (exact ? QStringLiteral(" = ") + withUnit(fitted(*exact), unit) : QString()));
    row.unit->setToolTip(exact ? withUnit(*exact, unit) : QString());
    row.formula->setVisible(!e.formula.isEmpty() || e.formulaTooLong);
    row.formula->setText(e.formulaTooLong ? QStringLiteral("= a formula of %1 terms: too long "
                                                           "to show")
                                                .arg(e.formulaTerms)
                                          : QStringLiteral("= ") + e.formula);
    row.yours->setAccessibleName(QStringLiteral("Your ") + withUnit(name, unit));
    explain(row.value, (e.known ? resultHeadline(name, shown, unit, exact)
                                : name + QStringLiteral(" = ") + e.formula) +
                           QLatin1Char('\n') + e.working);
}

void TerminatedView::judgeRow(int quantity)
{
    if (!m_analysis)
        return;
    const Row &row = m_rows[size_t(quantity)];
    circuit::Verdict v;
    if (!m_result.error) {
        const circuit::EngineLock lock;
        v = m_analysis->judgeTerminated(zs(), zl(), row.value->objectName(), row.yours->text());
    }
    row.verdict->setText(verdictMark(v.kind) + v.brief);
    explain(row.verdict, v.text);
    row.yours->setAccessibleDescription(v.text);
    if (m_explained == quantity)
        explainRow(quantity);
}

void TerminatedView::explainRow(int quantity)
{
    m_explained = quantity;
    const Row &row = m_rows[size_t(quantity)];
    const QString text = row.verdict->toolTip();
    m_explanation->setText(text.isEmpty() ? QString()
                                          : row.value->objectName() + QStringLiteral(": ") + text);
}

QString TerminatedView::copy(CopyFlavour flavour) const
{
    if (!m_analysis || m_result.error)
        return QString();
    return copyTerminated(m_result, zs(), zl(), m_units, flavour);
}

} // namespace kvadra
