#include "testsolver/testrecord.h"

namespace kvadra
{

namespace
{
qint16 sameAsInitial(qint16 initialExists, const std::array<double, 4> &initial, qint16 caseExists,
                     const std::array<double, 16> &cases, int k, int j)
{
    if (initialExists == 0)
        return caseExists == 0 ? 1 : 0;
    if (caseExists != 1)
        return 0;
    return initial[size_t(j)] == cases[size_t(4 * k + j)] ? 1 : 0;
}
} // namespace

std::array<qint16, 4> compareParameter(const TestRecord &r, int code)
{
    std::array<qint16, 4> result{};
    for (int k = 0; k < 4; ++k) {
        if (code >= 0 && code < 4)
            result[size_t(k)] = sameAsInitial(r.initialZExists, r.initialZ,
                                              r.caseZExists[size_t(k)], r.caseZ, k, code);
        else if (code >= 4 && code < 8)
            result[size_t(k)] = sameAsInitial(r.initialYExists, r.initialY,
                                              r.caseYExists[size_t(k)], r.caseY, k, code - 4);
    }
    return result;
}

} // namespace kvadra
