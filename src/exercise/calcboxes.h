#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QWidget;

namespace kvadra
{

class ResultBox;

// The calculator's labelled boxes.

// A bold label on a background of its own, sized for an entry name.
QLabel *makeBoldLabel(QWidget *parent, const char *name, const QString &text, int x, int y,
                      const QColor &background);

// One 2 x 2 matrix frame: boxes row by row, named after their entries, each with its entry name
// to its left.
std::array<ResultBox *, 4> makeMatrix(QGroupBox *frame, const std::array<QString, 4> &boxNames,
                                      const char *const labelNames[4], const QColor &background);

// A result with its working: the tooltip, What's This and a screen reader's description start
// with the entry and its value, exactly where the typed values allow, then show how it came
// about.
void showResult(ResultBox *box, const QString &shown, const std::optional<QString> &fraction,
                const QString &unit, const QString &working);

} // namespace kvadra
