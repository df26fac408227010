#include "twoport/catalogue.h"

#include <cstring>

namespace kvadra
{

bool Schematic::hasElement(int k) const
{
    return k >= 1 && k <= 3 && std::strchr(name, '0' + k) != nullptr;
}

QString schematicPictureName(const QString &schemName)
{
    return QStringLiteral("TEST") + schemName;
}

QString Schematic::pictureName() const
{
    return schematicPictureName(QLatin1String(name));
}

const std::array<Schematic, 14> &catalogue()
{
    using F = Family;
    using P = Procedure;
    static const std::array<Schematic, 14> schematics{{
        {1, "G1", F::Conductance, P::YFromConductances, P::None},
        {2, "G1G2", F::Conductance, P::YFromConductances, P::ZFromConductances},
        {3, "G1G2G3", F::Conductance, P::YFromConductances, P::ZFromConductances},
        {4, "G1G3", F::Conductance, P::YFromConductances, P::ZFromConductances},
        {5, "G2", F::Conductance, P::YFromConductances, P::None},
        {6, "G2G3", F::Conductance, P::YFromConductances, P::ZFromConductances},
        {7, "G3", F::Conductance, P::YFromConductances, P::None},
        {8, "NONE", F::Conductance, P::YFromConductances, P::None},
        {9, "R1", F::Resistance, P::None, P::ZFromResistances},
        {10, "R1R2", F::Resistance, P::YFromResistances, P::ZFromResistances},
        {11, "R1R2R3", F::Resistance, P::YFromResistances, P::ZFromResistances},
        {12, "R1R3", F::Resistance, P::YFromResistances, P::ZFromResistances},
        {13, "R2R3", F::Resistance, P::YFromResistances, P::ZFromResistances},
        {14, "R3", F::Resistance, P::None, P::ZFromResistances},
    }};
    return schematics;
}

const Schematic *schematicByNumber(int number)
{
    if (number < 1 || number > static_cast<int>(catalogue().size()))
        return nullptr;
    return &catalogue()[static_cast<size_t>(number - 1)];
}

} // namespace kvadra
