#pragma once

#include "shell/form.h"
#include "shell/resultbox.h"
#include "twoport/parametersets.h"

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;

namespace kvadra
{

// check_results: every parameter set of the calculator's last successful calculation, each value
// with its working and its exact fraction, and beside it a box where the student types their
// own value and reads whether it matches or which slip it looks like. It lives beside the
// calculator and closes with it.
class CheckResults : public QWidget, public Form
{
    Q_OBJECT
public:
    static constexpr const char *Name = "check_results";

    explicit CheckResults(QWidget *parent = nullptr);

    // Shows the sets of a new calculation. The student's values stay while the schematic does.
    void follow(const ElementInput &input);

private:
    struct Row {
        QLabel *name;
        ResultBox *value;
        QLabel *unit;
        QLineEdit *yours;
        QLabel *verdict;
        std::array<QWidget *, 5> widgets() const;
    };
    void judgeRow(int set, int entry);
    // Shows the full verdict on that entry below the sets.
    void explainRow(int set, int entry);

    ElementInput m_input;
    std::array<std::optional<SetResult>, 5> m_sets;
    QLabel *m_heading;
    std::array<QGroupBox *, 5> m_frames{};
    std::array<QLabel *, 5> m_missing{};
    std::array<std::array<Row, 4>, 5> m_rows{};
    QLabel *m_explanation;
    std::pair<int, int> m_explained{-1, -1};
};

} // namespace kvadra
