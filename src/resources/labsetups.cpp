#include "resources/labsetups.h"

#include "lab/labformula.h"
#include "resources/drawing.h"

#include <iterator>

namespace kvadra::drawing
{

namespace
{
// In the order of the lab helper's parameters: z11 ... z22, y11 ... y22, h11 ... h22, A ... D.
constexpr Setup kSetups[] = {
    {Port::CurrentSourceAndVoltmeter, Port::Open},
    {Port::Voltmeter, Port::CurrentSource},
    {Port::CurrentSource, Port::Voltmeter},
    {Port::Open, Port::CurrentSourceAndVoltmeter},
    {Port::VoltageSourceAndSeriesAmmeter, Port::Shorted},
    {Port::AmmeterUp, Port::VoltageSource},
    {Port::VoltageSource, Port::AmmeterUp},
    {Port::Shorted, Port::VoltageSourceAndSeriesAmmeter},
    {Port::CurrentSourceAndVoltmeter, Port::Shorted},
    {Port::Voltmeter, Port::VoltageSource},
    {Port::CurrentSource, Port::AmmeterUp},
    {Port::Open, Port::VoltageSourceAndSeriesAmmeter},
    {Port::VoltageSource, Port::Voltmeter},
    {Port::VoltageSource, Port::AmmeterDown},
    {Port::CurrentSource, Port::Voltmeter},
    {Port::CurrentSource, Port::AmmeterDown},
};
static_assert(std::size(kSetups) == std::tuple_size_v<std::array<LabParameter, 16>>);
} // namespace

const Setup *findSetup(const QString &parameter)
{
    const auto &parameters = labParameters();
    for (size_t i = 0; i < parameters.size(); ++i)
        if (parameter == QString::fromLatin1(parameters[i].name).toUpper())
            return &kSetups[i];
    return nullptr;
}

bool isLabSetup(const QString &parameter)
{
    return findSetup(parameter) != nullptr;
}

QString describeLabSetup(const QString &parameter)
{
    const Setup *setup = findSetup(parameter);
    if (!setup)
        return QString();
    auto port = [](Port kind, int n) {
        const QString at = QStringLiteral("port %1").arg(n);
        switch (kind) {
        case Port::Open:
            return at + QStringLiteral(" is left open");
        case Port::Shorted:
            return at + QStringLiteral(" is short-circuited by a wire");
        case Port::CurrentSource:
            return QStringLiteral("a current source drives a current into ") + at;
        case Port::VoltageSource:
            return QStringLiteral("a voltage source is applied across ") + at;
        case Port::Voltmeter:
            return QStringLiteral("a voltmeter measures the voltage across ") + at +
                   QStringLiteral(", plus at the upper terminal");
        case Port::AmmeterUp:
            return QStringLiteral("an ammeter short-circuits ") + at +
                   QStringLiteral(" and measures the current flowing into it");
        case Port::AmmeterDown:
            return QStringLiteral("an ammeter short-circuits ") + at +
                   QStringLiteral(" and measures the current flowing out of it");
        case Port::CurrentSourceAndVoltmeter:
            return QStringLiteral("a current source drives a current into ") + at +
                   QStringLiteral(" and a voltmeter measures the voltage across it, plus at the "
                                  "upper terminal");
        case Port::VoltageSourceAndSeriesAmmeter:
            return QStringLiteral("a voltage source is applied across ") + at +
                   QStringLiteral(" through an ammeter in the upper wire, which measures the "
                                  "current flowing into the port");
        }
        return QString();
    };
    QString text = port(setup->port1, 1) + QStringLiteral("; ") + port(setup->port2, 2) + '.';
    text[0] = text[0].toUpper();
    return text;
}

} // namespace kvadra::drawing
