#include "twoport/parameterset.h"

namespace kvadra
{

QString setName(ParameterSet set)
{
    static const char *const names[] = {"Z", "Y", "H", "G", "ABCD"};
    return QLatin1String(names[int(set)]);
}

QString entryName(ParameterSet set, int entry)
{
    if (set == ParameterSet::ABCD)
        return QString(QChar('A' + entry));
    static const char *const suffix[4] = {"11", "12", "21", "22"};
    return setName(set).toLower() + QLatin1String(suffix[entry]);
}

std::array<QString, 4> entryNames(ParameterSet set)
{
    return {entryName(set, 0), entryName(set, 1), entryName(set, 2), entryName(set, 3)};
}

Quantity entryKind(ParameterSet set, int entry)
{
    using Q = Quantity;
    static const Q kinds[5][4] = {
        {Q::Resistance, Q::Resistance, Q::Resistance, Q::Resistance},
        {Q::Conductance, Q::Conductance, Q::Conductance, Q::Conductance},
        {Q::Resistance, Q::None, Q::None, Q::Conductance},
        {Q::Conductance, Q::None, Q::None, Q::Resistance},
        {Q::None, Q::Resistance, Q::Conductance, Q::None},
    };
    return kinds[int(set)][entry];
}

} // namespace kvadra
