#pragma once

#include <cmath>
#include <stdexcept>

namespace kvadra
{

// The one failure of a calculation: unreadable input or an arithmetic fault (division by zero,
// invalid operation, overflow). Each Calculate handler catches it in one place.
class CalcError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// IEEE arithmetic does not trap, so every computed value passes through here. Division by zero,
// 0/0 and overflow all leave a non-finite value; underflow to zero or a subnormal does not.
inline double checked(double value)
{
    if (!std::isfinite(value))
        throw CalcError("arithmetic fault");
    return value;
}

} // namespace kvadra
