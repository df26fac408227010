#pragma once

#include "circuit/engine.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace kvadra
{

// The network another is joined with, as the student picks it: itself, itself turned over, one
// of the fourteen schematics with a box for each of its values, or a netlist file.
class JoinPartner : public QWidget
{
    Q_OBJECT
public:
    explicit JoinPartner(QWidget *parent = nullptr);

    // Picks a netlist the student chose; `name` is what the choice is called in the list.
    void chooseNetlist(const QString &netlist, const QString &name);
    // The network picked, its values and `self`'s display units; `self` stands for "itself".
    // Called with the engine lock held.
    circuit::Request request(const circuit::Engine &engine, const circuit::Request &self) const;
    QString caption() const;

signals:
    void changed();
    // A netlist file that cannot be read: what the student should see in place of the join.
    void failed(const QString &why);

private:
    void chosen();
    // The value boxes for the other network's symbols, kept or filled with a value to start from.
    void offerValues();
    void addValueBox();

    QComboBox *m_with;
    QList<QLabel *> m_valueNames; // one pair for each symbol of the largest network offered yet
    QList<QLineEdit *> m_values;
    QString m_netlist; // of the chosen schematic or file
    QString m_fileNetlist;
    QStringList m_symbols;
    QMap<QString, QString> m_typed; // values as typed, by symbol
    int m_lastChoice = 0;
};

} // namespace kvadra
