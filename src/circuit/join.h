#pragma once

// Two networks joined port to port: the textbook rule and the network actually built. Internal.

#include "circuit/engine.h"

namespace kvadra::circuit
{

Joined joinNetworks(const Request &first, const Request &second, JoinKind kind);

// "cascade", "series", "parallel", "series-parallel", "parallel-series".
QString joinName(JoinKind kind);
std::optional<JoinKind> joinKindNamed(const QString &name);

} // namespace kvadra::circuit
