#pragma once

#include "lab/labformula.h"
#include "shell/toolwindow.h"

#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace kvadra
{

class PictureBox;
class ResultBox;

// lab_helper: two bench readings in, one two-port parameter out. The selection window sets up
// its captions and picture; typed values and the answer survive a change of parameter.
class LabHelper : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "lab_helper";

    explicit LabHelper(TwoportMain &main);

    // The captions of the two measurement frames and of the answer, which also name their
    // boxes for a screen reader.
    void setCaptions(const QString &measure1, const QString &measure2, const QString &parameter);
    PictureBox *picLab() const { return m_picLab; }

private:
    void calculate();
    QString copyResults(bool latex) const;

    QGroupBox *m_frameMeasure1;
    QGroupBox *m_frameMeasure2;
    QLabel *m_lblParameter;
    PictureBox *m_picLab;
    QLineEdit *m_measure1;
    QLineEdit *m_measure2;
    ResultBox *m_answer;
    // The last successful calculation, which is what a copy holds.
    std::optional<LabReading> m_last;
    QList<QAction *> m_copying;
};

} // namespace kvadra
