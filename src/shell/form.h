#pragma once

namespace kvadra
{

// A window the registry knows by name. load() runs after the window is created and before it
// is shown; unload() runs when it is being closed, before it is discarded.
class Form
{
public:
    virtual ~Form() = default;
    virtual void load() {}
    virtual void unload() {}
};

} // namespace kvadra
