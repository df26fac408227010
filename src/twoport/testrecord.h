#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace kvadra
{

// The parameters of the five schematics of a test. It is never cleared: each step overwrites the
// flag it sets and the values only when that flag becomes 1, and values under a 0 flag are
// never read.
struct TestRecord {
    qint16 initialYExists = 0;
    qint16 initialZExists = 0;
    std::array<double, 4> initialY{};
    std::array<double, 4> initialZ{};
    std::array<qint16, 4> caseYExists{};
    std::array<qint16, 4> caseZExists{};
    std::array<double, 16> caseY{}; // entry 4k + j: parameter j of case k (0 = A ... 3 = D)
    std::array<double, 16> caseZ{};

    // Takes over the last calculation as the INITIAL (count 0) or as case count - 1 (count 1
    // to 4): each flag always, the values only where their flag is 1.
    void storeStep(qint16 count, qint16 zExists, qint16 yExists, const std::array<double, 4> &z,
                   const std::array<double, 4> &y);
};

// One answer per case A to D, 1 where parameter `code` (0 to 3: z11 ... z22, 4 to 7: y11 ...
// y22) equals the INITIAL's. Values compare exactly: results that differ only in their last
// bits differ, whatever the boxes showed. A parameter neither schematic has counts as the same.
std::array<qint16, 4> compareParameter(const TestRecord &record, int code);

// Parameter `code` in the INITIAL and in case k (0 = A ... 3 = D), each as the calculator showed
// it, and at full precision where the shown texts agree but the values do not.
QString compareExplanation(const TestRecord &record, int code, int k, const QString &unit);

} // namespace kvadra
