#include "exercise/resultcells.h"

#include "shell/application.h"
#include "shell/resultbox.h"

#include <QLabel>
#include <QLineEdit>

namespace kvadra
{

QString verdictMark(circuit::Verdict::Kind kind)
{
    switch (kind) {
    case circuit::Verdict::Match:
        return QStringLiteral("✓ ");
    case circuit::Verdict::Slip:
    case circuit::Verdict::Unexplained:
        return QStringLiteral("✗ ");
    default:
        return QString();
    }
}

bool showsMoreThanDecimal(const circuit::Exact &e)
{
    return e.known && e.exact.contains(QLatin1Char('/'));
}

QString fitted(const QString &fraction)
{
    constexpr qsizetype room = 15;
    return fraction.size() <= room ? fraction : fraction.left(room - 1) + QChar(0x2026);
}

QString errorText(const circuit::NetlistError &error)
{
    if (error.at.line <= 0)
        return error.message;
    return QStringLiteral("line %1, column %2: %3")
        .arg(error.at.line)
        .arg(error.at.column)
        .arg(error.message);
}

QLabel *plainLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(programFont());
    return label;
}

std::array<QWidget *, 6> ResultRow::widgets() const
{
    return {name, value, unit, formula, yours, verdict};
}

} // namespace kvadra
