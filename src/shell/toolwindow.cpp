#include "shell/toolwindow.h"

#include "shell/twoportmain.h"

#include <limits>

namespace kvadra
{

namespace
{
qint16 add16(int a, int b)
{
    const int sum = a + b;
    Q_ASSERT(sum >= std::numeric_limits<qint16>::min() &&
             sum <= std::numeric_limits<qint16>::max());
    return static_cast<qint16>(sum);
}
} // namespace

ToolWindow::ToolWindow(TwoportMain &main, const char *name, qint16 weight)
    : m_main(main), m_weight(weight)
{
    setObjectName(QLatin1String(name));
}

void ToolWindow::load()
{
    SharedState &s = m_main.state();
    s.setWindowStates(add16(s.windowStates(), m_weight));
    m_main.disableUnits();
}

void ToolWindow::unload()
{
    SharedState &s = m_main.state();
    s.setWindowStates(add16(s.windowStates(), -m_weight));
    m_main.enableUnits();
}

} // namespace kvadra
