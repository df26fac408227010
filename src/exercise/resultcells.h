#pragma once

// The pieces a row of exact results is built from, shared by every view that shows the core's
// values beside the student's own.

#include "circuit/engine.h"

#include <QString>

#include <array>

class QLabel;
class QLineEdit;
class QWidget;

namespace kvadra
{

class ResultBox;

// One entry: its name, the core's value, its unit and fraction, its formula, the student's box
// and the verdict on it, in the order they stand in a row.
struct ResultRow {
    QLabel *name = nullptr;
    ResultBox *value = nullptr;
    QLabel *unit = nullptr;
    QLabel *formula = nullptr;
    QLineEdit *yours = nullptr;
    QLabel *verdict = nullptr;
    std::array<QWidget *, 6> widgets() const;
};

// "✓ " for a match, "✗ " for a slip or an unexplained value, nothing otherwise.
QString verdictMark(circuit::Verdict::Kind kind);

// An exact value is worth showing beside its decimal when the decimal does not say it all.
bool showsMoreThanDecimal(const circuit::Exact &e);

// A fraction too long for its column is cut; the whole one belongs in the tooltip.
QString fitted(const QString &fraction);

// An error as NetlistError::text() writes it; that one lives in the core's module, which the
// program loads rather than links.
QString errorText(const circuit::NetlistError &error);

// A label in the program's face, named for the driver and the screen reader.
QLabel *plainLabel(QWidget *parent, const QString &name);

} // namespace kvadra
