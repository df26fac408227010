#pragma once

#include "shell/form.h"

#include <QWidget>

namespace kvadra
{

class TwoportMain;

// A tool window registers its weight in windowStates while it is open, and the unit settings
// stay locked while any tool window is open. Subclasses that add load or unload steps call these
// first.
class ToolWindow : public QWidget, public Form
{
    Q_OBJECT
public:
    ToolWindow(TwoportMain &main, const char *name, qint16 weight);

    void load() override;
    void unload() override;

protected:
    TwoportMain &main() const { return m_main; }

private:
    TwoportMain &m_main;
    const qint16 m_weight;
};

} // namespace kvadra
