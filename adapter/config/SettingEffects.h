#pragma once

#include <string_view>

namespace pontax {

// What setting an option does beyond storing it, given by the layer that runs the engine: the
// configuration knows no engine.
class SettingEffects {
public:
    virtual ~SettingEffects() = default;
    // Sends a command to the engine while one runs, else keeps it for the engine's next start.
    virtual void SendOrQueue(std::string_view command) = 0;
    // The setting of that configuration key (upper case) was set; a running engine may need it.
    virtual void Changed(std::string_view key) = 0;
};

}  // namespace pontax
