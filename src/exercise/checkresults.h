#pragma once

#include "exercise/elementinput.h"
#include "shell/form.h"

#include <QWidget>

class QLabel;

namespace kvadra
{

class NetworkTabs;

// check_results: every parameter set of the calculator's last successful calculation, worked out
// exactly by the circuit core, each value with its working, its exact fraction and its formula in
// the element names, and beside it a box where the student types their own value or formula and
// reads whether it matches or which slip it looks like. It lives beside the calculator and closes
// with it.
class CheckResults : public QWidget, public Form
{
    Q_OBJECT
public:
    static constexpr const char *Name = "check_results";

    explicit CheckResults(QWidget *parent = nullptr);

    // Shows the sets of a new calculation. The student's values stay while the schematic does.
    void follow(const ElementInput &input);

signals:
    // The student asked to open the joined network in a window of its own.
    void openNetlist(const QString &netlist);

private:
    ElementInput m_input;
    QLabel *m_heading;
    NetworkTabs *m_tabs;
};

} // namespace kvadra
