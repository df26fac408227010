#pragma once

#include "shell/toolwindow.h"

#include <array>

class QCheckBox;

namespace kvadra
{

// test_giveelement: after case D, which cases share a chosen parameter with the INITIAL.
class TestGiveElement : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "test_giveelement";

    explicit TestGiveElement(TwoportMain &main);

    void load() override;

    // The answers CompareMatrices writes, 1 for the same value as the INITIAL.
    qint16 Achecked = 0;
    qint16 Bchecked = 0;
    qint16 Cchecked = 0;
    qint16 Dchecked = 0;

    void CheckBoxes();
    // Sets each box's tooltip to what its answer compared.
    void setExplanations(const std::array<QString, 4> &explanations);

private:
    std::array<QCheckBox *, 4> m_checks{};
};

} // namespace kvadra
