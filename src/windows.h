#pragma once

namespace kvadra
{

class TwoportMain;

// Registers every window of the program with the main window's registry, so that it can be
// shown by its class. The one place that knows all the windows; call it before start().
void registerWindows(TwoportMain &main);

} // namespace kvadra
