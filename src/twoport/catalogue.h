#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace kvadra
{

enum class Family { Conductance, Resistance };

// The formula procedures a schematic's matrices come from.
enum class Procedure {
    None,
    YFromConductances,
    ZFromConductances,
    ZFromResistances,
    YFromResistances
};

struct Schematic {
    qint16 number;    // 1 to 14, the alphabetical order of the names
    const char *name; // upper case: "G1" ... "R3", "NONE"
    Family family;
    Procedure yProcedure; // None where the schematic has no Y matrix
    Procedure zProcedure; // None where the schematic has no Z matrix

    bool yExists() const { return yProcedure != Procedure::None; }
    bool zExists() const { return zProcedure != Procedure::None; }
    // Element k (1, 2, 3) is present exactly when its digit occurs in the name.
    bool hasElement(int k) const;
    QString pictureName() const;
    // The selection window's button: "g1" ... "r3", "none".
    QString buttonName() const { return QString::fromLatin1(name).toLower(); }
};

// The picture of the schematic of that name: "TEST" + schemName.
QString schematicPictureName(const QString &schemName);

// The fourteen schematics in number order.
const std::array<Schematic, 14> &catalogue();

// The schematic with that number, or nullptr for a number outside 1 to 14.
const Schematic *schematicByNumber(int number);

} // namespace kvadra
