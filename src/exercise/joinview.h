#pragma once

#include "circuit/engine.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvadra
{

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

signals:
    // The network built, as a netlist, for the own-network window.
    void openNetlist(const QString &netlist);

private:
    struct SetRow {
        QLabel *name;
        QLabel *rule;
        QLabel *built;
    };
    void otherChosen();
    // The value boxes for the other network's symbols, kept or filled with a value to start from.
    void offerValues();
    circuit::Request other(const circuit::Engine &engine) const;
    void join();
    void showJoined(const circuit::Joined &joined);

    circuit::Request m_request;
    QString m_otherNetlist; // of the chosen schematic or file
    QString m_fileNetlist;
    QStringList m_otherSymbols;
    QMap<QString, QString> m_typed; // the other network's values as typed, by symbol
    int m_lastChoice = 0;
    QComboBox *m_kind;
    QComboBox *m_with;
    std::array<QLabel *, 3> m_valueNames{};
    std::array<QLineEdit *, 3> m_values{};
    QLabel *m_error;
    QWidget *m_results;
    QLabel *m_ruleName;
    std::array<SetRow, 5> m_sets{};
    QLabel *m_holds;
    QLabel *m_why;
    QPushButton *m_open;
    QString m_joinedNetlist;
};

} // namespace kvadra
