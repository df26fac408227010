#include "exercise/calcboxes.h"

#include "shell/appearance.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/resultbox.h"
#include "twoport/explain.h"

#include <QGroupBox>
#include <QLabel>

namespace kvadra
{

void showResult(ResultBox *box, const QString &shown, const std::optional<QString> &fraction,
                const QString &unit, const QString &working)
{
    box->setText(shown);
    box->setCursorPosition(0);
    explain(box, resultHeadline(box->objectName(), shown, unit, fraction) + '\n' + working);
}

QLabel *makeBoldLabel(QWidget *parent, const char *name, const QString &text, int x, int y,
                      const QColor &background)
{
    QLabel *label = makeLabel(parent, name, text, x, y, 25, 17);
    makeBold(label);
    setBackground(label, background);
    return label;
}

std::array<ResultBox *, 4> makeMatrix(QGroupBox *frame, const std::array<QString, 4> &boxNames,
                                      const char *const labelNames[4], const QColor &background)
{
    const QPoint cells[4] = {{40, 32}, {136, 32}, {40, 64}, {136, 64}};
    std::array<ResultBox *, 4> boxes{};
    for (int i = 0; i < 4; ++i) {
        makeBoldLabel(frame, labelNames[i], boxNames[size_t(i)], cells[i].x() - 32,
                      cells[i].y() + 3, background);
        boxes[size_t(i)] =
            makeResult(frame, qPrintable(boxNames[size_t(i)]), cells[i].x(), cells[i].y(), 57, 19);
    }
    return boxes;
}

} // namespace kvadra
