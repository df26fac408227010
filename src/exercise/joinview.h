#pragma once

#include "circuit/engine.h"
#include "twoport/copytext.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace kvadra
{

class JoinPartner;

// This network joined with another (itself, itself turned over, one of the fourteen schematics
// with values, or a netlist) in cascade, series, parallel or a mixed connection: for each
// parameter set the textbook rule's result beside the result of the network actually built, and
// whether the rule holds, with the reason when it does not.
class JoinView : public QWidget
{
    Q_OBJECT
public:
    explicit JoinView(QWidget *parent = nullptr);

    // This network: its netlist, its values and the display units of the results.
    void setNetwork(const circuit::Request &request);
    // Joins with a netlist the student chose ("a netlist file…" asks for one); `name` is what the
    // choice is called in the list.
    void joinWithNetlist(const QString &netlist, const QString &name);

    // Both results, set by set, and the verdict on the rule, as plain text or as a LaTeX
    // fragment (amsmath for its matrices).
    QString copy(CopyFlavour flavour) const;

signals:
    // The network built, as a netlist, for the own-network window.
    void openNetlist(const QString &netlist);

private:
    struct SetRow {
        QLabel *name;
        QLabel *rule;
        QLabel *built;
    };
    void join();
    void showJoined(const circuit::Joined &joined);

    circuit::Request m_request;
    QComboBox *m_kind;
    JoinPartner *m_partner;
    QLabel *m_error;
    QWidget *m_results;
    QLabel *m_ruleName;
    std::array<SetRow, 5> m_sets{};
    QLabel *m_holds;
    QLabel *m_why;
    QPushButton *m_open;
    circuit::Joined m_joined;
};

} // namespace kvadra
