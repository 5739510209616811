#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "SettingEffects.h"
#include "Settings.h"

namespace pontax {

struct Configuration;

// The options the engine announced.
struct EngineOptionStore {
    std::mutex mutex;
    // name: as shown to the GUI; the engine's own name lives in the command.
    std::vector<CustomOption> options;
    std::vector<std::string> engineNames;
    bool overflowLogged = false;
};

// The options an engine announces with feature option="NAME -TYPE ...", kept as custom options
// whose commands are "option NAME=VALUE". Recorded on the engine's reader thread, read on the
// GUI's. A definition that no host could show or set is left out with a log remark; a name that
// a built-in or [EXTRAS] option has is shown with the prefix "Engine ".
void RecordEngineOption(Configuration& config, std::string_view definition);
// The engine's options in the order announced.
std::vector<CustomOption> EngineOptionList(EngineOptionStore& store);
// Sets the engine option shown under that name (case-insensitive): sends its command, or queues
// it while no engine runs. False when no engine option has the name.
bool SetEngineOption(Configuration& config, SettingEffects& effects, std::string_view name,
                     std::string_view value);
void ClearEngineOptions(EngineOptionStore& store);

}  // namespace pontax
