#include "twoport/missingmatrix.h"

namespace kvadra
{

QStringList missingMatrixReason(const Schematic &s, bool z)
{
    if (z ? s.zExists() : s.yExists())
        return {};
    const QString name = QLatin1String(s.name);
    if (name == QLatin1String("G1"))
        return {QStringLiteral("No Z matrix: nothing joins port 2 to the rest of the network, so a "
                               "test current cannot be driven into the open port 2."),
                QStringLiteral("Y = [G1 0; 0 0] is singular and has no inverse.")};
    if (name == QLatin1String("G3"))
        return {QStringLiteral("No Z matrix: nothing joins port 1 to the rest of the network, so a "
                               "test current cannot be driven into the open port 1."),
                QStringLiteral("Y = [0 0; 0 G3] is singular and has no inverse.")};
    if (name == QLatin1String("G2"))
        return {QStringLiteral("No Z matrix: with only the series element G2 there is no path "
                               "from the top line to the bottom line, so a current driven into "
                               "one port with the other open has nowhere to flow."),
                QStringLiteral("Y = G2·[1 −1; −1 1] is singular: its determinant is zero.")};
    if (name == QLatin1String("NONE"))
        return {QStringLiteral("No Z matrix: no element joins any terminals, so both ports stay "
                               "open and no test current can flow."),
                QStringLiteral("Y is the zero matrix, which is singular.")};
    if (name == QLatin1String("R1"))
        return {QStringLiteral("No Y matrix: the middle wire shorts port 2, so no test voltage can "
                               "be applied to it: its current would be unlimited."),
                QStringLiteral("Z = [R1 0; 0 0] is singular and has no inverse.")};
    return {QStringLiteral("No Y matrix: the middle wire shorts port 1, so no test voltage can be "
                           "applied to it: its current would be unlimited."),
            QStringLiteral("Z = [0 0; 0 R3] is singular and has no inverse.")};
}

} // namespace kvadra
