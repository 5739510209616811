#pragma once

#include <string_view>

#include "Configuration.h"
#include "SettingEffects.h"

namespace pontax {

// Applies one trimmed "setoption name <name> [value <value>]" line to the settings, or hands it to
// the custom option of that name.
void HandleSetOption(Configuration& config, SettingEffects& effects, std::string_view line);
// The same for a line from the GUI, which also tells whether the GUI asks for pondering.
void HandleGuiSetOption(Configuration& config, SettingEffects& effects, std::string_view line);
// A name the setting table or the Help button answers to, in any case.
bool IsBuiltInOptionName(std::string_view name);

}  // namespace pontax
